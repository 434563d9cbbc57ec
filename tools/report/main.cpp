// tavrino-report: the pay report of the game, computed by playing it headless.

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

#include "report_output.hpp"
#include "report_run.hpp"

namespace {

using namespace tav::report;

constexpr std::string_view kUsage =
    "usage: tavrino-report [--spins N] [--threads N] [--bets B1,...,B8] [--hold-seconds S | --clock player|per-read]\n"
    "                      [--tick-rounding] [--json] [--plot FILE.svg] [--seed N] [--max-seconds S]\n"
    "Plays N spins (default 100000) of the real game headless under a virtual clock and reports\n"
    "the chance of every stop, the return of every bet, the hit frequency, the spread of a spin's\n"
    "return for the bet pattern (default 10 on each symbol) and the length of the spins.\n"
    "  --clock player     each spin starts at a uniformly random moment of the minute and the clock\n"
    "                     follows the spin from there (default)\n"
    "  --clock per-read   every clock read gives a uniformly random second\n"
    "  --hold-seconds S   every clock read gives second S (0..59)\n"
    "  --tick-rounding    timer periods rounded up to whole 15.625 ms ticks\n"
    "  --threads N        N players, each on its own thread with its own window (default 1)\n"
    "  --seed N           seed of the tool's clock generator (default 1)\n"
    "  --max-seconds S    stop after S seconds of wall time and report the spins played so far\n";

std::uint64_t parse_number(std::string_view text, std::string_view option) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw std::invalid_argument(std::string(option) + " wants a whole number, not \"" + std::string(text) + "\"");
    }
    return value;
}

std::array<int, kSymbols> parse_bets(std::string_view text) {
    std::array<int, kSymbols> bets{};
    std::size_t k = 0;
    while (true) {
        const std::size_t comma = text.find(',');
        if (k == bets.size()) throw std::invalid_argument("--bets wants eight numbers");
        const std::uint64_t bet = parse_number(text.substr(0, comma), "--bets");
        if (bet % 10 != 0 || bet > 990) throw std::invalid_argument("a bet is 0..990 in steps of 10");
        bets[k++] = static_cast<int>(bet);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (k != bets.size()) throw std::invalid_argument("--bets wants eight numbers");
    bool any = false;
    for (int b : bets) any = any || b > 0;
    if (!any) throw std::invalid_argument("--bets needs at least one bet: the game refuses to start without");
    return bets;
}

struct Command {
    RunOptions run;
    bool json = false;
    std::optional<std::string> plot;
};

Command parse(int argc, char** argv) {
    Command c;
    c.run.threads = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&]() -> std::string_view {
            if (i + 1 >= argc) throw std::invalid_argument(std::string(arg) + " wants a value");
            return argv[++i];
        };
        if (arg == "--spins") {
            c.run.spins = parse_number(value(), arg);
        } else if (arg == "--threads") {
            const std::uint64_t n = parse_number(value(), arg);
            if (n < 1 || n > 64) throw std::invalid_argument("--threads wants 1..64");
            c.run.threads = static_cast<int>(n);
        } else if (arg == "--bets") {
            c.run.player.bets = parse_bets(value());
        } else if (arg == "--hold-seconds") {
            const std::uint64_t s = parse_number(value(), arg);
            if (s > 59) throw std::invalid_argument("--hold-seconds wants 0..59");
            c.run.player.clock = ClockMode::Hold;
            c.run.player.hold_seconds = static_cast<int>(s);
        } else if (arg == "--clock") {
            const std::string_view mode = value();
            if (mode == "player")
                c.run.player.clock = ClockMode::Player;
            else if (mode == "per-read")
                c.run.player.clock = ClockMode::PerRead;
            else
                throw std::invalid_argument("--clock is player or per-read");
        } else if (arg == "--max-seconds") {
            c.run.max_seconds = static_cast<double>(parse_number(value(), arg));
        } else if (arg == "--seed") {
            c.run.player.clock_seed = parse_number(value(), arg);
        } else if (arg == "--tick-rounding") {
            c.run.player.tick_rounding = true;
        } else if (arg == "--json") {
            c.json = true;
        } else if (arg == "--plot") {
            c.plot = std::string(value());
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else {
            throw std::invalid_argument("unknown option " + std::string(arg));
        }
    }
    return c;
}

// A one-line bar on stderr, redrawn in place; only on a terminal, so logs stay clean.
void show_progress(std::uint64_t done, std::uint64_t total) {
    constexpr int kBarWidth = 40;
    const double part = total ? static_cast<double>(done) / static_cast<double>(total) : 1.0;
    const int filled = static_cast<int>(part * kBarWidth);
    std::fprintf(stderr, "\r[%s%s] %5.1f %% %llu/%llu spins",
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kBarWidth - filled), ' ').c_str(), 100.0 * part,
                 static_cast<unsigned long long>(done), static_cast<unsigned long long>(total));
    std::fflush(stderr);
}

} // namespace

int main(int argc, char** argv) {
    try {
        Command c = parse(argc, argv);
        const bool bar = isatty(STDERR_FILENO) != 0;
        if (bar) c.run.progress = show_progress;
        const RunResult result = run_spins(c.run);
        if (bar) std::fprintf(stderr, "\r%80s\r", "");
        if (c.json) {
            write_json(std::cout, c.run, result);
        } else {
            write_table(std::cout, c.run, result);
        }
        if (c.plot) {
            std::ofstream svg(*c.plot);
            write_svg(svg, c.run, result);
            if (!svg) throw std::runtime_error("cannot write " + *c.plot);
        }
        return 0;
    } catch (const std::invalid_argument& e) {
        std::cerr << "tavrino-report: " << e.what() << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "tavrino-report: " << e.what() << "\n";
        return 1;
    }
}

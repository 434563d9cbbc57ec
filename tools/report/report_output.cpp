#include "report_output.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

namespace tav::report {
namespace {

// Bins of the spin-length histogram in the JSON output.
constexpr std::int64_t kSecondsBinMs = 100;

std::string fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string percent(double v, int decimals = 3) { return fixed(100.0 * v, decimals) + " %"; }

std::string pad(std::string s, std::size_t width, bool right = true) {
    // Column widths count bytes; every text here is ASCII.
    if (s.size() >= width) return s;
    const std::string fill(width - s.size(), ' ');
    return right ? fill + s : s + fill;
}

std::string clock_text(const PlayerOptions& p) {
    switch (p.clock) {
        case ClockMode::Hold: return "seconds held at " + std::to_string(p.hold_seconds);
        case ClockMode::PerRead: return "seconds drawn uniformly at every read";
        case ClockMode::Player: break;
    }
    return "each spin starts at a uniformly random moment of the minute; the clock then follows the spin";
}

std::string bets_text(const PlayerOptions& p) {
    std::string s;
    for (std::size_t k = 0; k < p.bets.size(); ++k) s += (k ? "," : "") + std::to_string(p.bets[k]);
    return s;
}

// The symbols in bet order, as the bets are listed: "cars, bottle cap, ...".
std::string symbol_names_text() {
    std::string s;
    for (int k = 0; k < kSymbols; ++k) s += (k ? ", " : "") + std::string(symbol_name(k));
    return s;
}

void write_histogram_line(std::ostream& out, std::string_view name, const Histogram& h, double scale, int decimals) {
    out << "  " << pad(std::string(name), 14, false) << pad(fixed(h.mean() / scale, decimals), 10)
        << pad(fixed(h.stddev() / scale, decimals), 9) << pad(fixed(static_cast<double>(h.min()) / scale, decimals), 9)
        << pad(fixed(static_cast<double>(h.quantile(0.05)) / scale, decimals), 9)
        << pad(fixed(static_cast<double>(h.quantile(0.5)) / scale, decimals), 9)
        << pad(fixed(static_cast<double>(h.quantile(0.95)) / scale, decimals), 9)
        << pad(fixed(static_cast<double>(h.max()) / scale, decimals), 9) << "\n";
}

// --- JSON ---

std::string json_estimate(const Estimate& e) {
    return "{\"value\": " + fixed(e.value, 8) + ", \"low\": " + fixed(e.low, 8) + ", \"high\": " + fixed(e.high, 8) +
           "}";
}

std::string json_histogram(const Histogram& h, std::int64_t bin = 1) {
    std::string s = "{\"mean\": " + fixed(h.mean(), 4) + ", \"stddev\": " + fixed(h.stddev(), 4) +
                    ", \"min\": " + std::to_string(h.min()) + ", \"max\": " + std::to_string(h.max()) +
                    ", \"counts\": {";
    std::map<std::int64_t, std::uint64_t> binned;
    for (const auto& [v, n] : h.bins()) binned[v / bin * bin] += n;
    bool first = true;
    for (const auto& [v, n] : binned) {
        s += (first ? "\"" : ", \"") + std::to_string(v) + "\": " + std::to_string(n);
        first = false;
    }
    return s + "}}";
}

} // namespace

void write_table(std::ostream& out, const RunOptions& options, const RunResult& r) {
    const Tally& t = r.tally;
    out << "Tavrino pay report: " << t.spins << " spins of the real game, headless, virtual clock"
        << (r.stopped_early ? " (stopped early by --max-seconds)" : "") << "\n"
        << "  clock:  " << clock_text(options.player) << "\n"
        << "  timers: "
        << (options.player.tick_rounding ? "periods rounded up to 15.625 ms ticks" : "periods exactly as asked")
        << "\n  bets:   " << bets_text(options.player) << " (" << symbol_names_text() << ")\n"
        << "  random: " << r.threads
        << (r.threads == 1 ? " player from state 1" : " players, player i starting i*2^28 draws on") << "\n\n";

    out << "Ring position   symbol          rests on (95 % CI)              finally scored\n";
    for (int p = 1; p <= kPositions; ++p) {
        const int s = symbol_at(p);
        const Estimate rest = rest_probability(t, p);
        const Estimate fin = final_probability(t, p);
        out << "  " << pad(std::to_string(p), 5) << "         "
            << pad(s == kRandomField ? std::string("random field") : std::string(symbol_name(s)), 14, false)
            << pad(percent(rest.value), 11) << "  [" << fixed(100 * rest.low, 3) << ", " << fixed(100 * rest.high, 3)
            << "]" << pad(percent(fin.value), 14) << "\n";
    }
    out << "  (every position alike: rests 5.000 %, scored 5.556 %)\n\n";

    out << "Symbol          mult  positions  scored     RTP of a unit bet (95 % CI)     if uniform\n";
    for (int s = 0; s < kSymbols; ++s) {
        const Estimate p = symbol_probability(t, s);
        const Estimate rtp = symbol_rtp(t, s);
        out << "  " << pad(std::string(symbol_name(s)), 14, false) << pad(std::to_string(multiplier(s)), 4)
            << pad(std::to_string(positions_of(s)), 11) << pad(percent(p.value), 11) << pad(percent(rtp.value, 2), 12)
            << "  [" << fixed(100 * rtp.low, 2) << ", " << fixed(100 * rtp.high, 2) << "]"
            << pad(percent(uniform_symbol_rtp(s), 1), 14) << "\n";
    }
    const Estimate rtp = pattern_rtp(t);
    const Estimate hit = proportion(t.hits, t.spins);
    const Estimate profit = proportion(t.profits, t.spins);
    out << "\nBet pattern " << bets_text(options.player) << " (" << fixed(t.stake, 0) << " credits a spin)\n"
        << "  RTP                 " << percent(rtp.value, 2) << "  [" << fixed(100 * rtp.low, 2) << ", "
        << fixed(100 * rtp.high, 2) << "]\n"
        << "  hit frequency       " << percent(hit.value, 2) << "  (a spin returns more than 0)\n"
        << "  profit frequency    " << percent(profit.value, 2) << "  (a spin returns more than its stake)\n"
        << "  win per spin        mean " << fixed(static_cast<double>(t.spins ? t.win_sum / t.spins : 0), 2)
        << ", standard deviation " << fixed(win_std_dev(t), 2) << " credits ("
        << fixed(t.stake > 0 ? win_std_dev(t) / t.stake : 0, 3) << " per credit staked)\n\n";

    out << "Spin length       mean   stddev      min       5%      50%      95%      max\n";
    write_histogram_line(out, "acceleration", t.acceleration, 1, 1);
    write_histogram_line(out, "fast run", t.fast, 1, 1);
    write_histogram_line(out, "slowing", t.slowing, 1, 1);
    write_histogram_line(out, "all steps", t.steps, 1, 1);
    write_histogram_line(out, "seconds", t.duration_ms, 1000, 2);
    out << "\nSettlements per spin (1 + random jumps)\n";
    for (const auto& [n, count] : t.settlements.bins()) {
        out << "  " << pad(std::to_string(n), 3) << pad(std::to_string(count), 12)
            << pad(percent(static_cast<double>(count) / static_cast<double>(std::max<std::uint64_t>(1, t.spins))), 12)
            << "\n";
    }
    out << "\nSpeed: " << fixed(r.spins_per_second, 0) << " spins/s on " << r.threads << " thread(s), "
        << fixed(r.spins_per_second_per_thread, 0) << " spins/s per thread; " << fixed(r.wall_seconds, 1)
        << " s in all\n";
}

void write_json(std::ostream& out, const RunOptions& options, const RunResult& r) {
    const Tally& t = r.tally;
    out << "{\n  \"spins\": " << t.spins << ",\n  \"stopped_early\": " << (r.stopped_early ? "true" : "false")
        << ",\n  \"threads\": " << r.threads << ",\n  \"clock\": \"" << clock_text(options.player)
        << "\",\n  \"tick_rounding\": " << (options.player.tick_rounding ? "true" : "false") << ",\n  \"bets\": ["
        << bets_text(options.player) << "],\n  \"positions\": [\n";
    for (int p = 1; p <= kPositions; ++p) {
        const int s = symbol_at(p);
        out << "    {\"position\": " << p << ", \"symbol\": \""
            << (s == kRandomField ? std::string("random field") : std::string(symbol_name(s)))
            << "\", \"rests\": " << t.rest[static_cast<std::size_t>(p - 1)]
            << ", \"scored\": " << t.final[static_cast<std::size_t>(p - 1)]
            << ", \"rest_probability\": " << json_estimate(rest_probability(t, p))
            << ", \"scored_probability\": " << json_estimate(final_probability(t, p)) << "}"
            << (p < kPositions ? ",\n" : "\n");
    }
    out << "  ],\n  \"symbols\": [\n";
    for (int s = 0; s < kSymbols; ++s) {
        out << "    {\"symbol\": \"" << symbol_name(s) << "\", \"multiplier\": " << multiplier(s)
            << ", \"probability\": " << json_estimate(symbol_probability(t, s))
            << ", \"rtp\": " << json_estimate(symbol_rtp(t, s))
            << ", \"uniform_rtp\": " << fixed(uniform_symbol_rtp(s), 6) << "}" << (s + 1 < kSymbols ? ",\n" : "\n");
    }
    out << "  ],\n  \"pattern\": {\"stake\": " << fixed(t.stake, 0) << ", \"rtp\": " << json_estimate(pattern_rtp(t))
        << ", \"hit_frequency\": " << json_estimate(proportion(t.hits, t.spins))
        << ", \"profit_frequency\": " << json_estimate(proportion(t.profits, t.spins))
        << ", \"win_mean\": " << fixed(static_cast<double>(t.spins ? t.win_sum / t.spins : 0), 6)
        << ", \"win_stddev\": " << fixed(win_std_dev(t), 6) << "},\n"
        << "  \"steps\": {\"acceleration\": " << json_histogram(t.acceleration)
        << ",\n    \"fast\": " << json_histogram(t.fast) << ",\n    \"slowing\": " << json_histogram(t.slowing)
        << ",\n    \"all\": " << json_histogram(t.steps) << "},\n"
        << "  \"duration_ms\": " << json_histogram(t.duration_ms, kSecondsBinMs) << ",\n"
        << "  \"settlements\": " << json_histogram(t.settlements) << ",\n"
        << "  \"speed\": {\"spins_per_second\": " << fixed(r.spins_per_second, 1)
        << ", \"per_thread\": " << fixed(r.spins_per_second_per_thread, 1)
        << ", \"wall_seconds\": " << fixed(r.wall_seconds, 3) << "}\n}\n";
}

void write_svg(std::ostream& out, const RunOptions& options, const RunResult& r) {
    const Tally& t = r.tally;
    constexpr int kWidth = 760, kHeight = 380, kLeft = 60, kRight = 20, kTop = 50, kBottom = 60;
    constexpr int kPlotW = kWidth - kLeft - kRight, kPlotH = kHeight - kTop - kBottom;
    double top = 0.1;
    for (int p = 1; p <= kPositions; ++p) {
        top = std::max({top, rest_probability(t, p).high, final_probability(t, p).high});
    }
    top = std::ceil(top * 50.0) / 50.0; // a multiple of 2 %
    const double slot = static_cast<double>(kPlotW) / kPositions;
    auto y = [&](double p) { return kTop + kPlotH - p / top * kPlotH; };

    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight
        << "\" font-family=\"sans-serif\" font-size=\"11\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
        << "<text x=\"" << kLeft << "\" y=\"20\" font-size=\"14\">Where the lamp stops: " << t.spins << " spins"
        << (options.player.tick_rounding ? ", 15.625 ms ticks" : "") << "</text>\n"
        << "<rect x=\"" << kLeft << "\" y=\"28\" width=\"10\" height=\"10\" fill=\"#9bb8d8\"/><text x=\"" << kLeft + 14
        << "\" y=\"37\">rests on</text>\n"
        << "<rect x=\"" << kLeft + 80 << "\" y=\"28\" width=\"10\" height=\"10\" fill=\"#c0392b\"/><text x=\""
        << kLeft + 94 << "\" y=\"37\">finally scored</text>\n"
        << "<text x=\"" << kLeft + 200 << "\" y=\"37\">dashed: 1/20 and 1/18</text>\n";
    for (double g = 0; g <= top + 1e-9; g += 0.02) {
        out << "<line x1=\"" << kLeft << "\" x2=\"" << kLeft + kPlotW << "\" y1=\"" << fixed(y(g), 1) << "\" y2=\""
            << fixed(y(g), 1) << "\" stroke=\"#ddd\"/><text x=\"" << kLeft - 6 << "\" y=\"" << fixed(y(g) + 4, 1)
            << "\" text-anchor=\"end\">" << fixed(100 * g, 0) << " %</text>\n";
    }
    for (int p = 1; p <= kPositions; ++p) {
        const double x = kLeft + (p - 1) * slot;
        const Estimate rest = rest_probability(t, p);
        const Estimate fin = final_probability(t, p);
        out << "<rect x=\"" << fixed(x + slot * 0.12, 1) << "\" y=\"" << fixed(y(rest.value), 1) << "\" width=\""
            << fixed(slot * 0.36, 1) << "\" height=\"" << fixed(y(0) - y(rest.value), 1) << "\" fill=\"#9bb8d8\"/>\n"
            << "<rect x=\"" << fixed(x + slot * 0.5, 1) << "\" y=\"" << fixed(y(fin.value), 1) << "\" width=\""
            << fixed(slot * 0.36, 1) << "\" height=\"" << fixed(y(0) - y(fin.value), 1) << "\" fill=\"#c0392b\"/>\n"
            << "<line x1=\"" << fixed(x + slot * 0.68, 1) << "\" x2=\"" << fixed(x + slot * 0.68, 1) << "\" y1=\""
            << fixed(y(fin.low), 1) << "\" y2=\"" << fixed(y(fin.high), 1) << "\" stroke=\"black\"/>\n"
            << "<text x=\"" << fixed(x + slot / 2, 1) << "\" y=\"" << kTop + kPlotH + 14 << "\" text-anchor=\"middle\">"
            << p << "</text>\n";
        const int s = symbol_at(p);
        out << "<text x=\"" << fixed(x + slot / 2, 1) << "\" y=\"" << kTop + kPlotH + 26
            << "\" text-anchor=\"middle\" font-size=\"8\">"
            << (s == kRandomField ? std::string("random") : std::string(symbol_name(s)).substr(0, 6)) << "</text>\n";
    }
    for (double ref : {1.0 / 20, 1.0 / 18}) {
        out << "<line x1=\"" << kLeft << "\" x2=\"" << kLeft + kPlotW << "\" y1=\"" << fixed(y(ref), 1) << "\" y2=\""
            << fixed(y(ref), 1) << "\" stroke=\"#555\" stroke-dasharray=\"4 3\"/>\n";
    }
    out << "<line x1=\"" << kLeft << "\" x2=\"" << kLeft + kPlotW << "\" y1=\"" << fixed(y(0), 1) << "\" y2=\""
        << fixed(y(0), 1) << "\" stroke=\"black\"/>\n"
        << "<text x=\"" << kLeft + kPlotW / 2 << "\" y=\"" << kHeight - 12
        << "\" text-anchor=\"middle\">ring position</text>\n"
        << "</svg>\n";
}

} // namespace tav::report

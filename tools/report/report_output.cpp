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

std::string Fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string Percent(double v, int decimals = 3) { return Fixed(100.0 * v, decimals) + " %"; }

std::string Pad(std::string s, std::size_t width, bool right = true) {
    // Column widths count bytes; every text here is ASCII.
    if (s.size() >= width) return s;
    const std::string fill(width - s.size(), ' ');
    return right ? fill + s : s + fill;
}

std::string ClockText(const PlayerOptions& p) {
    switch (p.clock) {
    case ClockMode::Hold: return "seconds held at " + std::to_string(p.hold_seconds);
    case ClockMode::PerRead: return "seconds drawn uniformly at every read";
    case ClockMode::Player: break;
    }
    return "each spin starts at a uniformly random moment of the minute; the clock then follows the spin";
}

std::string BetsText(const PlayerOptions& p) {
    std::string s;
    for (std::size_t k = 0; k < p.bets.size(); ++k) s += (k ? "," : "") + std::to_string(p.bets[k]);
    return s;
}

void WriteHistogramLine(std::ostream& out, std::string_view name, const Histogram& h, double scale, int decimals) {
    out << "  " << Pad(std::string(name), 14, false) << Pad(Fixed(h.mean() / scale, decimals), 10)
        << Pad(Fixed(h.stddev() / scale, decimals), 9) << Pad(Fixed(static_cast<double>(h.min()) / scale, decimals), 9)
        << Pad(Fixed(static_cast<double>(h.quantile(0.05)) / scale, decimals), 9)
        << Pad(Fixed(static_cast<double>(h.quantile(0.5)) / scale, decimals), 9)
        << Pad(Fixed(static_cast<double>(h.quantile(0.95)) / scale, decimals), 9)
        << Pad(Fixed(static_cast<double>(h.max()) / scale, decimals), 9) << "\n";
}

// --- JSON ---

std::string JsonEstimate(const Estimate& e) {
    return "{\"value\": " + Fixed(e.value, 8) + ", \"low\": " + Fixed(e.low, 8) + ", \"high\": " + Fixed(e.high, 8) + "}";
}

std::string JsonHistogram(const Histogram& h, std::int64_t bin = 1) {
    std::string s = "{\"mean\": " + Fixed(h.mean(), 4) + ", \"stddev\": " + Fixed(h.stddev(), 4) +
                    ", \"min\": " + std::to_string(h.min()) + ", \"max\": " + std::to_string(h.max()) + ", \"counts\": {";
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

void WriteTable(std::ostream& out, const RunOptions& options, const RunResult& r) {
    const Tally& t = r.tally;
    out << "Tavrino pay report: " << t.spins << " spins of the real game, headless, virtual clock"
        << (r.stopped_early ? " (stopped early by --max-seconds)" : "") << "\n"
        << "  clock:  " << ClockText(options.player) << "\n"
        << "  timers: " << (options.player.tick_rounding ? "periods rounded up to 15.625 ms ticks" : "periods exactly as asked")
        << "\n  bets:   " << BetsText(options.player) << " (cars, bottle cap, zipper badge, knot, cherries, kiwi, strawberry, orange)\n"
        << "  random: " << r.threads << (r.threads == 1 ? " player from state 1" : " players, player i starting i*2^28 draws on")
        << "\n\n";

    out << "Ring position   symbol          rests on (95 % CI)              finally scored\n";
    for (int p = 1; p <= kPositions; ++p) {
        const int s = SymbolAt(p);
        const Estimate rest = RestProbability(t, p);
        const Estimate fin = FinalProbability(t, p);
        out << "  " << Pad(std::to_string(p), 5) << "         "
            << Pad(s == kRandomField ? std::string("random field") : std::string(SymbolName(s)), 14, false)
            << Pad(Percent(rest.value), 11) << "  [" << Fixed(100 * rest.low, 3) << ", " << Fixed(100 * rest.high, 3) << "]"
            << Pad(Percent(fin.value), 14) << "\n";
    }
    out << "  (every position alike: rests 5.000 %, scored 5.556 %)\n\n";

    out << "Symbol          mult  positions  scored     RTP of a unit bet (95 % CI)     if uniform\n";
    for (int s = 0; s < kSymbols; ++s) {
        const Estimate p = SymbolProbability(t, s);
        const Estimate rtp = SymbolRtp(t, s);
        out << "  " << Pad(std::string(SymbolName(s)), 14, false) << Pad(std::to_string(Multiplier(s)), 4)
            << Pad(std::to_string(PositionsOf(s)), 11) << Pad(Percent(p.value), 11) << Pad(Percent(rtp.value, 2), 12)
            << "  [" << Fixed(100 * rtp.low, 2) << ", " << Fixed(100 * rtp.high, 2) << "]"
            << Pad(Percent(UniformSymbolRtp(s), 1), 14) << "\n";
    }
    const Estimate rtp = PatternRtp(t);
    const Estimate hit = Proportion(t.hits, t.spins);
    const Estimate profit = Proportion(t.profits, t.spins);
    out << "\nBet pattern " << BetsText(options.player) << " (" << Fixed(t.stake, 0) << " credits a spin)\n"
        << "  RTP                 " << Percent(rtp.value, 2) << "  [" << Fixed(100 * rtp.low, 2) << ", "
        << Fixed(100 * rtp.high, 2) << "]\n"
        << "  hit frequency       " << Percent(hit.value, 2) << "  (a spin returns more than 0)\n"
        << "  profit frequency    " << Percent(profit.value, 2) << "  (a spin returns more than its stake)\n"
        << "  win per spin        mean " << Fixed(static_cast<double>(t.spins ? t.win_sum / t.spins : 0), 2)
        << ", standard deviation " << Fixed(WinStdDev(t), 2) << " credits ("
        << Fixed(t.stake > 0 ? WinStdDev(t) / t.stake : 0, 3) << " per credit staked)\n\n";

    out << "Spin length       mean   stddev      min       5%      50%      95%      max\n";
    WriteHistogramLine(out, "acceleration", t.acceleration, 1, 1);
    WriteHistogramLine(out, "fast run", t.fast, 1, 1);
    WriteHistogramLine(out, "slowing", t.slowing, 1, 1);
    WriteHistogramLine(out, "all steps", t.steps, 1, 1);
    WriteHistogramLine(out, "seconds", t.duration_ms, 1000, 2);
    out << "\nSettlements per spin (1 + random jumps)\n";
    for (const auto& [n, count] : t.settlements.bins()) {
        out << "  " << Pad(std::to_string(n), 3) << Pad(std::to_string(count), 12)
            << Pad(Percent(static_cast<double>(count) / static_cast<double>(std::max<std::uint64_t>(1, t.spins))), 12) << "\n";
    }
    out << "\nSpeed: " << Fixed(r.spins_per_second, 0) << " spins/s on " << r.threads << " thread(s), "
        << Fixed(r.spins_per_second_per_thread, 0) << " spins/s per thread; " << Fixed(r.wall_seconds, 1)
        << " s in all\n";
}

void WriteJson(std::ostream& out, const RunOptions& options, const RunResult& r) {
    const Tally& t = r.tally;
    out << "{\n  \"spins\": " << t.spins << ",\n  \"stopped_early\": " << (r.stopped_early ? "true" : "false")
        << ",\n  \"threads\": " << r.threads
        << ",\n  \"clock\": \"" << ClockText(options.player) << "\",\n  \"tick_rounding\": "
        << (options.player.tick_rounding ? "true" : "false") << ",\n  \"bets\": [" << BetsText(options.player)
        << "],\n  \"positions\": [\n";
    for (int p = 1; p <= kPositions; ++p) {
        const int s = SymbolAt(p);
        out << "    {\"position\": " << p << ", \"symbol\": \""
            << (s == kRandomField ? std::string("random field") : std::string(SymbolName(s))) << "\", \"rests\": "
            << t.rest[static_cast<std::size_t>(p - 1)] << ", \"scored\": " << t.final[static_cast<std::size_t>(p - 1)]
            << ", \"rest_probability\": " << JsonEstimate(RestProbability(t, p))
            << ", \"scored_probability\": " << JsonEstimate(FinalProbability(t, p)) << "}"
            << (p < kPositions ? ",\n" : "\n");
    }
    out << "  ],\n  \"symbols\": [\n";
    for (int s = 0; s < kSymbols; ++s) {
        out << "    {\"symbol\": \"" << SymbolName(s) << "\", \"multiplier\": " << Multiplier(s)
            << ", \"probability\": " << JsonEstimate(SymbolProbability(t, s)) << ", \"rtp\": " << JsonEstimate(SymbolRtp(t, s))
            << ", \"uniform_rtp\": " << Fixed(UniformSymbolRtp(s), 6) << "}" << (s + 1 < kSymbols ? ",\n" : "\n");
    }
    out << "  ],\n  \"pattern\": {\"stake\": " << Fixed(t.stake, 0) << ", \"rtp\": " << JsonEstimate(PatternRtp(t))
        << ", \"hit_frequency\": " << JsonEstimate(Proportion(t.hits, t.spins))
        << ", \"profit_frequency\": " << JsonEstimate(Proportion(t.profits, t.spins))
        << ", \"win_mean\": " << Fixed(static_cast<double>(t.spins ? t.win_sum / t.spins : 0), 6)
        << ", \"win_stddev\": " << Fixed(WinStdDev(t), 6) << "},\n"
        << "  \"steps\": {\"acceleration\": " << JsonHistogram(t.acceleration) << ",\n    \"fast\": " << JsonHistogram(t.fast)
        << ",\n    \"slowing\": " << JsonHistogram(t.slowing) << ",\n    \"all\": " << JsonHistogram(t.steps) << "},\n"
        << "  \"duration_ms\": " << JsonHistogram(t.duration_ms, kSecondsBinMs) << ",\n"
        << "  \"settlements\": " << JsonHistogram(t.settlements) << ",\n"
        << "  \"speed\": {\"spins_per_second\": " << Fixed(r.spins_per_second, 1) << ", \"per_thread\": "
        << Fixed(r.spins_per_second_per_thread, 1) << ", \"wall_seconds\": " << Fixed(r.wall_seconds, 3) << "}\n}\n";
}

void WriteSvg(std::ostream& out, const RunOptions& options, const RunResult& r) {
    const Tally& t = r.tally;
    constexpr int kWidth = 760, kHeight = 380, kLeft = 60, kRight = 20, kTop = 50, kBottom = 60;
    constexpr int kPlotW = kWidth - kLeft - kRight, kPlotH = kHeight - kTop - kBottom;
    double top = 0.1;
    for (int p = 1; p <= kPositions; ++p) {
        top = std::max({top, RestProbability(t, p).high, FinalProbability(t, p).high});
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
        << "<rect x=\"" << kLeft + 80 << "\" y=\"28\" width=\"10\" height=\"10\" fill=\"#c0392b\"/><text x=\"" << kLeft + 94
        << "\" y=\"37\">finally scored</text>\n"
        << "<text x=\"" << kLeft + 200 << "\" y=\"37\">dashed: 1/20 and 1/18</text>\n";
    for (double g = 0; g <= top + 1e-9; g += 0.02) {
        out << "<line x1=\"" << kLeft << "\" x2=\"" << kLeft + kPlotW << "\" y1=\"" << Fixed(y(g), 1) << "\" y2=\""
            << Fixed(y(g), 1) << "\" stroke=\"#ddd\"/><text x=\"" << kLeft - 6 << "\" y=\"" << Fixed(y(g) + 4, 1)
            << "\" text-anchor=\"end\">" << Fixed(100 * g, 0) << " %</text>\n";
    }
    for (int p = 1; p <= kPositions; ++p) {
        const double x = kLeft + (p - 1) * slot;
        const Estimate rest = RestProbability(t, p);
        const Estimate fin = FinalProbability(t, p);
        out << "<rect x=\"" << Fixed(x + slot * 0.12, 1) << "\" y=\"" << Fixed(y(rest.value), 1) << "\" width=\""
            << Fixed(slot * 0.36, 1) << "\" height=\"" << Fixed(y(0) - y(rest.value), 1) << "\" fill=\"#9bb8d8\"/>\n"
            << "<rect x=\"" << Fixed(x + slot * 0.5, 1) << "\" y=\"" << Fixed(y(fin.value), 1) << "\" width=\""
            << Fixed(slot * 0.36, 1) << "\" height=\"" << Fixed(y(0) - y(fin.value), 1) << "\" fill=\"#c0392b\"/>\n"
            << "<line x1=\"" << Fixed(x + slot * 0.68, 1) << "\" x2=\"" << Fixed(x + slot * 0.68, 1) << "\" y1=\""
            << Fixed(y(fin.low), 1) << "\" y2=\"" << Fixed(y(fin.high), 1) << "\" stroke=\"black\"/>\n"
            << "<text x=\"" << Fixed(x + slot / 2, 1) << "\" y=\"" << kTop + kPlotH + 14 << "\" text-anchor=\"middle\">" << p
            << "</text>\n";
        const int s = SymbolAt(p);
        out << "<text x=\"" << Fixed(x + slot / 2, 1) << "\" y=\"" << kTop + kPlotH + 26
            << "\" text-anchor=\"middle\" font-size=\"8\">"
            << (s == kRandomField ? std::string("random") : std::string(SymbolName(s)).substr(0, 6)) << "</text>\n";
    }
    for (double ref : {1.0 / 20, 1.0 / 18}) {
        out << "<line x1=\"" << kLeft << "\" x2=\"" << kLeft + kPlotW << "\" y1=\"" << Fixed(y(ref), 1) << "\" y2=\""
            << Fixed(y(ref), 1) << "\" stroke=\"#555\" stroke-dasharray=\"4 3\"/>\n";
    }
    out << "<line x1=\"" << kLeft << "\" x2=\"" << kLeft + kPlotW << "\" y1=\"" << Fixed(y(0), 1) << "\" y2=\""
        << Fixed(y(0), 1) << "\" stroke=\"black\"/>\n"
        << "<text x=\"" << kLeft + kPlotW / 2 << "\" y=\"" << kHeight - 12 << "\" text-anchor=\"middle\">ring position</text>\n"
        << "</svg>\n";
}

} // namespace tav::report

// The report's figures from fixed counts.

#include <gtest/gtest.h>

#include <cmath>

#include "statistics.hpp"

namespace tav::report {
namespace {

TEST(Statistics, RingAndPayTableAsTheGameHasThem) {
    EXPECT_EQ(symbol_at(3), 0); // cars
    EXPECT_EQ(symbol_at(13), 0);
    EXPECT_EQ(symbol_at(8), kRandomField);
    EXPECT_EQ(symbol_at(19), kRandomField);
    EXPECT_EQ(symbol_at(20), 7); // orange
    const int multipliers[kSymbols] = {100, 50, 10, 6, 5, 4, 3, 2};
    const int positions[kSymbols] = {2, 2, 2, 2, 2, 2, 3, 3};
    int ring = 0;
    for (int s = 0; s < kSymbols; ++s) {
        EXPECT_EQ(multiplier(s), multipliers[s]);
        EXPECT_EQ(positions_of(s), positions[s]);
        ring += positions_of(s);
    }
    EXPECT_EQ(ring, 18);
    // Equally likely stops: cars pay 100 × 2/18.
    EXPECT_NEAR(uniform_symbol_rtp(0), 100.0 * 2 / 18, 1e-12);
}

// A tally from hand-made spins: 1000 spins, cars (3) scored 50 times, orange (4) 950 times.
Tally fixed_tally() {
    Tally t;
    SpinRecord cars{3, 3, 1, 20, 140, 40, 0, 7000, 1000, 100};
    SpinRecord orange{4, 4, 1, 25, 150, 50, 0, 8000, 20, 2};
    SpinRecord jumped{8, 4, 2, 25, 150, 50, 1, 8200, 20, 2};
    for (int i = 0; i < 50; ++i) t.add(cars, 80);
    for (int i = 0; i < 900; ++i) t.add(orange, 80);
    for (int i = 0; i < 50; ++i) t.add(jumped, 80);
    return t;
}

TEST(Statistics, ProbabilitiesAndRtpFromFixedCounts) {
    const Tally t = fixed_tally();
    double rest = 0, fin = 0, sym = 0;
    for (int p = 1; p <= kPositions; ++p) {
        rest += rest_probability(t, p).value;
        fin += final_probability(t, p).value;
    }
    for (int s = 0; s < kSymbols; ++s) sym += symbol_probability(t, s).value;
    EXPECT_DOUBLE_EQ(rest, 1.0);
    EXPECT_DOUBLE_EQ(fin, 1.0);
    EXPECT_DOUBLE_EQ(sym, 1.0);
    EXPECT_DOUBLE_EQ(rest_probability(t, 8).value, 0.05);
    EXPECT_DOUBLE_EQ(final_probability(t, 8).value, 0.0);

    // Cars: p = 0.05, interval ±1.96·sqrt(0.05·0.95/1000); RTP = 100 p with the interval scaled.
    const Estimate p = symbol_probability(t, 0);
    const double half = kZ95 * std::sqrt(0.05 * 0.95 / 1000);
    EXPECT_DOUBLE_EQ(p.value, 0.05);
    EXPECT_NEAR(p.low, 0.05 - half, 1e-12);
    EXPECT_NEAR(p.high, 0.05 + half, 1e-12);
    const Estimate rtp = symbol_rtp(t, 0);
    EXPECT_DOUBLE_EQ(rtp.value, 5.0);
    EXPECT_NEAR(rtp.low, 100 * (0.05 - half), 1e-9);
    EXPECT_LE(rtp.low, 100 * p.value);
    EXPECT_GE(rtp.high, 100 * p.value);
    EXPECT_DOUBLE_EQ(symbol_rtp(t, 7).value, 2 * 0.95);
    EXPECT_DOUBLE_EQ(symbol_rtp(t, 1).value, 0.0);

    // The pattern: mean win 0.05·1000 + 0.95·20 = 69 of 80 staked.
    EXPECT_NEAR(pattern_rtp(t).value, 69.0 / 80, 1e-12);
    const double sd = std::sqrt(0.05 * 1000 * 1000 + 0.95 * 20 * 20 - 69.0 * 69.0);
    EXPECT_NEAR(win_std_dev(t), sd, 1e-9);
    EXPECT_NEAR(pattern_rtp(t).high - pattern_rtp(t).value, kZ95 * sd / std::sqrt(1000.0) / 80, 1e-9);
    EXPECT_EQ(t.hits, 1000u);
    EXPECT_EQ(t.profits, 50u);
    EXPECT_EQ(t.settlements.bins().at(2), 50u);
}

TEST(Statistics, HistogramsAndMergingKeepTheCounts) {
    Histogram h;
    for (int v : {5, 1, 3, 3, 8}) h.add(v);
    EXPECT_EQ(h.count(), 5u);
    EXPECT_DOUBLE_EQ(h.mean(), 4.0);
    EXPECT_NEAR(h.stddev(), std::sqrt((1 + 9 + 1 + 1 + 16) / 5.0), 1e-12);
    EXPECT_EQ(h.min(), 1);
    EXPECT_EQ(h.max(), 8);
    EXPECT_EQ(h.quantile(0.5), 3);
    EXPECT_EQ(h.quantile(0.95), 8);
    EXPECT_EQ(h.quantile(0.0), 1);

    Tally a = fixed_tally();
    const Tally b = fixed_tally();
    a.merge(b);
    EXPECT_EQ(a.spins, 2000u);
    EXPECT_EQ(a.final[2], 100u);
    EXPECT_DOUBLE_EQ(symbol_probability(a, 0).value, 0.05);
    EXPECT_NEAR(pattern_rtp(a).value, 69.0 / 80, 1e-12);
    EXPECT_EQ(a.duration_ms.count(), 2000u);
    EXPECT_EQ(proportion(0, 0).value, 0.0); // no spins, no figures
}

} // namespace
} // namespace tav::report

#pragma once
// The figures of the pay report, computed from plain counts: what the lamp rested on, what was
// finally scored, what a bet pattern won, and how long the spins were. Pure arithmetic, so the
// same counts always give the same figures.

#include <array>
#include <cstdint>
#include <map>
#include <string_view>

namespace tav::report {

inline constexpr int kPositions = 20;
inline constexpr int kSymbols = 8;
// No symbol: the ring position is a random field.
inline constexpr int kRandomField = -1;
// Two-sided 95 % quantile of the normal distribution.
inline constexpr double kZ95 = 1.959963984540054;

// The symbol index (0..7, left to right in the bet column) of ring position `position` (1..20),
// or kRandomField; taken from the game's board.
int symbol_at(int position);
// What a bet on symbol `symbol` (0..7) pays per credit staked.
int multiplier(int symbol);
// How many ring positions carry symbol `symbol`.
int positions_of(int symbol);
// An English name of symbol `symbol` for the report.
std::string_view symbol_name(int symbol);

// Counts of integer values (steps, milliseconds, settlements).
class Histogram {
public:
    void add(std::int64_t value, std::uint64_t times = 1);
    void merge(const Histogram& other);
    std::uint64_t count() const { return count_; }
    double mean() const;
    // Population standard deviation; 0 with fewer than two values.
    double stddev() const;
    std::int64_t min() const;
    std::int64_t max() const;
    // The smallest value with at least the fraction `q` (0..1) of the counts at or below it.
    std::int64_t quantile(double q) const;
    const std::map<std::int64_t, std::uint64_t>& bins() const { return bins_; }

private:
    std::map<std::int64_t, std::uint64_t> bins_;
    std::uint64_t count_ = 0;
    long double sum_ = 0;
    long double sum_sq_ = 0;
};

// What one spin did, as read from the window afterwards.
struct SpinRecord {
    int rest_position = 0;  // where the slowing phase left the lamp (1..20, random fields included)
    int final_position = 0; // the position finally scored (after any random jumps)
    int settlements = 0;    // 1 + the number of random jumps
    int acceleration_steps = 0;
    int fast_steps = 0;
    int slowing_steps = 0;
    int jump_steps = 0;
    std::int64_t duration_ms = 0; // virtual time from 开始 to the settlement
    double win = 0;               // the win display after the spin
    int odds = 0;                 // the odds display after the spin
};

// The counts of a run of spins for one bet pattern.
struct Tally {
    std::uint64_t spins = 0;
    std::array<std::uint64_t, kPositions> rest{};  // by ring position - 1
    std::array<std::uint64_t, kPositions> final{}; // by ring position - 1
    std::uint64_t hits = 0;                        // spins that returned more than 0
    std::uint64_t profits = 0;                     // spins that returned more than the stake
    double stake = 0;                              // credits staked per spin by the pattern
    long double win_sum = 0;
    long double win_sq_sum = 0;
    Histogram acceleration, fast, slowing, steps, settlements, duration_ms;

    // Counts one spin of a pattern staking `stake_per_spin`.
    void add(const SpinRecord& spin, double stake_per_spin);
    // Adds the counts of another run of the same pattern.
    void merge(const Tally& other);
};

// An estimate with its 95 % confidence interval.
struct Estimate {
    double value = 0;
    double low = 0;
    double high = 0;
};

// k successes in n trials: k / n with the normal-approximation interval (clamped to 0..1).
Estimate proportion(std::uint64_t k, std::uint64_t n);
// The chance of resting on / finally scoring ring position `position` (1..20).
Estimate rest_probability(const Tally& t, int position);
Estimate final_probability(const Tally& t, int position);
// The chance that symbol `symbol` is finally scored.
Estimate symbol_probability(const Tally& t, int symbol);
// Return to player of a unit bet on `symbol`: its multiplier times symbol_probability.
Estimate symbol_rtp(const Tally& t, int symbol);
// The same if every ring position were equally likely to be the resting one (jumps included).
double uniform_symbol_rtp(int symbol);
// Return to player of the tally's bet pattern: mean win / stake, interval from the sample spread.
Estimate pattern_rtp(const Tally& t);
// Standard deviation of one spin's win, in credits (population).
double win_std_dev(const Tally& t);

} // namespace tav::report

#include "statistics.hpp"

#include <algorithm>
#include <cmath>

#include "game/board.hpp"

namespace tav::report {
namespace {

namespace board = game::board;

static_assert(board::kRing.size() == kPositions && board::kBetColumns.size() == kSymbols);

// A paying position of the ring is finally scored with chance 1 / (paying positions) when every
// resting position is equally likely and a jump lands on each of the 20 positions alike.
constexpr double kPayingPositions = static_cast<double>(
    std::ranges::count_if(board::kRing, [](const board::RingPosition& p) { return !p.random_field(); }));

} // namespace

int symbol_at(int position) {
    const board::RingPosition& p = board::kRing.at(static_cast<std::size_t>(position - 1));
    if (p.random_field()) return kRandomField;
    return static_cast<int>(board::column_of(p.motif) - board::kBetColumns.data());
}

int multiplier(int symbol) { return board::kBetColumns.at(static_cast<std::size_t>(symbol)).multiplier; }

int positions_of(int symbol) {
    const board::Motif motif = board::kBetColumns.at(static_cast<std::size_t>(symbol)).motif;
    return static_cast<int>(
        std::ranges::count_if(board::kRing, [motif](const board::RingPosition& p) { return p.motif == motif; }));
}

std::string_view symbol_name(int symbol) { return board::kBetColumns.at(static_cast<std::size_t>(symbol)).name; }

// --- Histogram -------------------------------------------------------------------------------

void Histogram::add(std::int64_t value, std::uint64_t times) {
    if (times == 0) return;
    bins_[value] += times;
    count_ += times;
    const auto v = static_cast<long double>(value);
    sum_ += v * static_cast<long double>(times);
    sum_sq_ += v * v * static_cast<long double>(times);
}

void Histogram::merge(const Histogram& other) {
    for (const auto& [value, times] : other.bins_) add(value, times);
}

double Histogram::mean() const {
    return count_ == 0 ? 0.0 : static_cast<double>(sum_ / static_cast<long double>(count_));
}

double Histogram::stddev() const {
    if (count_ < 2) return 0.0;
    const long double n = static_cast<long double>(count_);
    const long double m = sum_ / n;
    return std::sqrt(std::max(0.0, static_cast<double>(sum_sq_ / n - m * m)));
}

std::int64_t Histogram::min() const { return bins_.empty() ? 0 : bins_.begin()->first; }

std::int64_t Histogram::max() const { return bins_.empty() ? 0 : bins_.rbegin()->first; }

std::int64_t Histogram::quantile(double q) const {
    if (bins_.empty()) return 0;
    const double needed = std::clamp(q, 0.0, 1.0) * static_cast<double>(count_);
    std::uint64_t seen = 0;
    for (const auto& [value, times] : bins_) {
        seen += times;
        if (static_cast<double>(seen) >= needed) return value;
    }
    return bins_.rbegin()->first;
}

// --- Tally -----------------------------------------------------------------------------------

void Tally::add(const SpinRecord& spin, double stake_per_spin) {
    ++spins;
    stake = stake_per_spin;
    if (spin.rest_position >= 1 && spin.rest_position <= kPositions)
        ++rest[static_cast<std::size_t>(spin.rest_position - 1)];
    if (spin.final_position >= 1 && spin.final_position <= kPositions)
        ++final[static_cast<std::size_t>(spin.final_position - 1)];
    if (spin.win > 0) ++hits;
    if (spin.win > stake_per_spin) ++profits;
    win_sum += spin.win;
    win_sq_sum += static_cast<long double>(spin.win) * spin.win;
    acceleration.add(spin.acceleration_steps);
    fast.add(spin.fast_steps);
    slowing.add(spin.slowing_steps);
    steps.add(spin.acceleration_steps + spin.fast_steps + spin.slowing_steps);
    settlements.add(spin.settlements);
    duration_ms.add(spin.duration_ms);
}

void Tally::merge(const Tally& other) {
    spins += other.spins;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        rest[i] += other.rest[i];
        final[i] += other.final[i];
    }
    hits += other.hits;
    profits += other.profits;
    if (other.spins > 0) stake = other.stake;
    win_sum += other.win_sum;
    win_sq_sum += other.win_sq_sum;
    acceleration.merge(other.acceleration);
    fast.merge(other.fast);
    slowing.merge(other.slowing);
    steps.merge(other.steps);
    settlements.merge(other.settlements);
    duration_ms.merge(other.duration_ms);
}

// --- Estimates -------------------------------------------------------------------------------

Estimate proportion(std::uint64_t k, std::uint64_t n) {
    if (n == 0) return {};
    const double p = static_cast<double>(k) / static_cast<double>(n);
    const double half = kZ95 * std::sqrt(p * (1 - p) / static_cast<double>(n));
    return {p, std::max(0.0, p - half), std::min(1.0, p + half)};
}

Estimate rest_probability(const Tally& t, int position) {
    return proportion(t.rest.at(static_cast<std::size_t>(position - 1)), t.spins);
}

Estimate final_probability(const Tally& t, int position) {
    return proportion(t.final.at(static_cast<std::size_t>(position - 1)), t.spins);
}

Estimate symbol_probability(const Tally& t, int symbol) {
    std::uint64_t k = 0;
    for (int p = 1; p <= kPositions; ++p) {
        if (symbol_at(p) == symbol) k += t.final[static_cast<std::size_t>(p - 1)];
    }
    return proportion(k, t.spins);
}

Estimate symbol_rtp(const Tally& t, int symbol) {
    const Estimate p = symbol_probability(t, symbol);
    const double m = multiplier(symbol);
    return {m * p.value, m * p.low, m * p.high};
}

double uniform_symbol_rtp(int symbol) { return multiplier(symbol) * positions_of(symbol) / kPayingPositions; }

Estimate pattern_rtp(const Tally& t) {
    if (t.spins == 0 || t.stake <= 0) return {};
    const double mean = static_cast<double>(t.win_sum / static_cast<long double>(t.spins));
    const double half = kZ95 * win_std_dev(t) / std::sqrt(static_cast<double>(t.spins));
    return {mean / t.stake, (mean - half) / t.stake, (mean + half) / t.stake};
}

double win_std_dev(const Tally& t) {
    if (t.spins < 2) return 0.0;
    const long double n = static_cast<long double>(t.spins);
    const long double m = t.win_sum / n;
    return std::sqrt(std::max(0.0, static_cast<double>(t.win_sq_sum / n - m * m)));
}

} // namespace tav::report

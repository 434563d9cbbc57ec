// The pay legend's caption, and the checks that keep the board's tables consistent.

#include "game/board.hpp"

#include <algorithm>

namespace tav::game::board {
namespace {

// Every ring position holds its own number as plain decimal text: "1" for position 1.
consteval bool ring_texts_count_up() {
    for (std::size_t i = 0; i < kRing.size(); ++i) {
        const std::string_view text = kRing[i].text;
        if (text.empty() || text.front() == '0') return false;
        std::size_t n = 0;
        for (const char c : text) {
            if (c < '0' || c > '9') return false;
            n = n * 10 + static_cast<std::size_t>(c - '0');
        }
        if (n != i + 1) return false;
    }
    return true;
}
static_assert(ring_texts_count_up());

// Every symbol can be won: it stands on the ring at least once.
consteval bool every_column_on_the_ring() {
    return std::ranges::all_of(kBetColumns, [](const BetColumn& column) {
        return std::ranges::any_of(kRing, [&](const RingPosition& p) { return p.motif == column.motif; });
    });
}
static_assert(every_column_on_the_ring());

// Three line breaks after every row but the last.
constexpr std::string_view kRowGap = "\r\n\r\n\r\n";

} // namespace

std::string legend_caption() {
    std::string caption;
    for (const BetColumn& column : kBetColumns) {
        caption += std::to_string(column.multiplier);
        caption += "倍";
        caption += kRowGap;
    }
    caption += "随机";
    return caption;
}

} // namespace tav::game::board

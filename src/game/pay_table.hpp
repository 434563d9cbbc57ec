#pragma once
// What each ring position pays.

#include <array>
#include <string_view>

namespace tav::game {

// One row of the pay table: the exact odds text written into the odds display and the bet
// display whose caption is the stake; a random field has neither.
struct PayRow {
    std::string_view odds;        // "100" .. "2"; empty for a random field
    std::string_view bet_display; // "标签1" .. "标签8"; empty for a random field
    bool random_field() const { return odds.empty(); }
};

// Rows of ring positions 1..20.
inline constexpr std::array<PayRow, 20> kPayTable = {{
    {"6", "标签4"},   // 1 knot
    {"5", "标签5"},   // 2 cherries
    {"100", "标签1"}, // 3 cars
    {"2", "标签8"},   // 4 orange
    {"10", "标签3"},  // 5 zipper badge
    {"3", "标签7"},   // 6 strawberry
    {"50", "标签2"},  // 7 bottle cap
    {"", ""},         // 8 random field
    {"3", "标签7"},   // 9 strawberry
    {"6", "标签4"},   // 10 knot
    {"4", "标签6"},   // 11 kiwi
    {"5", "标签5"},   // 12 cherries
    {"100", "标签1"}, // 13 cars
    {"2", "标签8"},   // 14 orange
    {"10", "标签3"},  // 15 zipper badge
    {"3", "标签7"},   // 16 strawberry
    {"50", "标签2"},  // 17 bottle cap
    {"4", "标签6"},   // 18 kiwi
    {"", ""},         // 19 random field
    {"2", "标签8"},   // 20 orange
}};

// The texts the lamp position is compared with: "1" .. "20".
inline constexpr std::array<std::string_view, 20> kPositionTexts = {
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16", "17", "18", "19", "20"};

} // namespace tav::game

#pragma once
// The board: the eight symbols with what they pay and their bet columns, the twenty ring
// positions with the symbol on each, the pay legend, and the controls the game reads and writes,
// each by the name the main window layout gives it. The layout, the handlers and the tools take
// the board from here; nothing else states which symbol stands where or what it pays.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "assets/assets.hpp"

namespace tav::game::board {

using assets::Motif;

// --- The controls the game reads and writes, by their layout names ---------------------------

inline constexpr std::string_view kCredits = "标签9";        // caption: the credits
inline constexpr std::string_view kWin = "标签10";           // caption: the win of the last scored position
inline constexpr std::string_view kOdds = "透明标签1";       // caption: the multiplier of the last scored position
inline constexpr std::string_view kLampPosition = "编辑框1"; // content: "" or the lamp's position text
inline constexpr std::string_view kIntervalReadout = "标签"; // caption: the last acceleration or slowing interval
inline constexpr std::string_view kPrizePicture = "图奖";    // picture: a copy of the lit ring picture
inline constexpr std::string_view kAccelerationTimer = "时钟1";
inline constexpr std::string_view kRunLengthTimer = "时钟2";
inline constexpr std::string_view kFastRunTimer = "时钟3";
inline constexpr std::string_view kDecelerationTimer = "时钟4";
inline constexpr std::string_view kStartButton = "按钮1";      // "开始"
inline constexpr std::string_view kAddCreditsButton = "按钮2"; // "上分"

// --- The symbols and their bet columns --------------------------------------------------------

// A symbol and its column in the bet row: the bet display above the symbol picture above the
// spinner that raises and lowers the bet.
struct BetColumn {
    Motif motif;
    int multiplier;               // credits paid per credit staked when the lamp rests on the symbol
    std::string_view name;        // in English, for reports
    std::string_view bet_display; // Label: the bet, "0" .. "990"
    std::string_view picture;     // PicBox: the symbol's large picture
    std::string_view spinner;     // Spin
};

// The symbol index is the column, left to right.
inline constexpr std::array<BetColumn, 8> kBetColumns = {{
    {Motif::Cars, 100, "cars", "标签1", "图片框1", "调节器1"},
    {Motif::BottleCap, 50, "bottle cap", "标签2", "图片框2", "调节器2"},
    {Motif::ZipperBadge, 10, "zipper badge", "标签3", "图片框3", "调节器3"},
    {Motif::Knot, 6, "knot", "标签4", "图片框4", "调节器4"},
    {Motif::Cherries, 5, "cherries", "标签5", "图片框5", "调节器5"},
    {Motif::Kiwi, 4, "kiwi", "标签6", "图片框6", "调节器6"},
    {Motif::Strawberry, 3, "strawberry", "标签7", "图片框7", "调节器7"},
    {Motif::Orange, 2, "orange", "标签8", "图片框8", "调节器8"},
}};

// The motif of a random field: it pays nothing itself and sends the lamp on.
inline constexpr Motif kRandomField = Motif::Butterfly;

// The bet column of `motif`; nullptr for the random field.
constexpr const BetColumn* column_of(Motif motif) {
    for (const BetColumn& column : kBetColumns) {
        if (column.motif == motif) return &column;
    }
    return nullptr;
}

// --- The ring ---------------------------------------------------------------------------------

// One position of the ring: its symbol, its picture and the lamp frame around it.
struct RingPosition {
    std::string_view text;    // the lamp position's content while the lamp is here
    Motif motif;              // a bet column's motif or kRandomField
    std::string_view picture; // PicBox: the symbol's large picture
    std::string_view lamp;    // PicBtn: shown while the lamp is here

    constexpr bool random_field() const { return motif == kRandomField; }
    // What a credit staked on this position's symbol pays; 0 on a random field.
    constexpr int multiplier() const { return random_field() ? 0 : column_of(motif)->multiplier; }
};

// Position k at index k - 1, clockwise from the top-left corner.
inline constexpr std::array<RingPosition, 20> kRing = {{
    {"1", Motif::Knot, "吐框1", "显示1"},           {"2", Motif::Cherries, "吐框2", "显示2"},
    {"3", Motif::Cars, "吐框3", "显示3"},           {"4", Motif::Orange, "吐框4", "显示4"},
    {"5", Motif::ZipperBadge, "吐框5", "显示5"},    {"6", Motif::Strawberry, "吐框6", "显示6"},
    {"7", Motif::BottleCap, "吐框7", "显示7"},      {"8", kRandomField, "吐框8", "显示8"},
    {"9", Motif::Strawberry, "吐框9", "显示9"},     {"10", Motif::Knot, "吐框10", "显示10"},
    {"11", Motif::Kiwi, "吐框11", "显示11"},        {"12", Motif::Cherries, "吐框12", "显示12"},
    {"13", Motif::Cars, "吐框13", "显示13"},        {"14", Motif::Orange, "吐框14", "显示14"},
    {"15", Motif::ZipperBadge, "吐框15", "显示15"}, {"16", Motif::Strawberry, "吐框16", "显示16"},
    {"17", Motif::BottleCap, "吐框17", "显示17"},   {"18", Motif::Kiwi, "吐框18", "显示18"},
    {"19", kRandomField, "吐框19", "显示19"},       {"20", Motif::Orange, "吐框20", "显示20"},
}};

// --- The pay legend ---------------------------------------------------------------------------

// The legend's picture boxes, top to bottom: one row per bet column in column order, then the
// random field.
inline constexpr std::array<std::string_view, kBetColumns.size() + 1> kLegendPictures = {
    "图片框9", "图片框10", "图片框12", "图片框11", "图片框14", "图片框13", "图片框16", "图片框15", "图片框18"};
// The transparent label beside them that names what each row pays.
inline constexpr std::string_view kLegendText = "透明标签2";

// The motif of legend row `row` (0-based).
constexpr Motif legend_motif(std::size_t row) {
    return row < kBetColumns.size() ? kBetColumns[row].motif : kRandomField;
}

// The caption of kLegendText (UTF-8): "<multiplier>倍" for each bet column, then "随机" for the
// random field, each row but the last followed by three CR LF pairs, which sets it level with
// its picture.
std::string legend_caption();

} // namespace tav::game::board

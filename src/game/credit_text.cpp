#include "game/credit_text.hpp"

#include <cstdint>
#include <limits>
#include <string_view>

namespace tav::game {
namespace {

constexpr unsigned char kLeadBit = 0x80;
constexpr unsigned char kFullWidthLead = 0xA3;
constexpr unsigned char kSymbolLead = 0xA1;
constexpr unsigned char kIdeographicSpace = 0xA1;
// A character that folds to nothing a number can contain.
constexpr int kStop = -1;

// The character at `pos` folded to its half-width byte, `pos` moved past it; kStop at the end
// and for a double-byte character that stays double-byte.
int NextFolded(std::string_view s, std::size_t& pos) {
    if (pos >= s.size()) {
        return kStop;
    }
    const auto lead = static_cast<unsigned char>(s[pos]);
    if ((lead & kLeadBit) == 0) {
        ++pos;
        return lead;
    }
    if (pos + 1 >= s.size()) {
        pos = s.size();
        return kStop;
    }
    const auto trail = static_cast<unsigned char>(s[pos + 1]);
    pos += 2;
    if (lead == kFullWidthLead && trail >= 0xA1 && trail <= 0xFE) {
        return trail & 0x7F;
    }
    if (lead == kSymbolLead && trail == kIdeographicSpace) {
        return ' ';
    }
    // "~" and "*" folds cannot start or continue a number, so they end it like any other pair.
    return kStop;
}

constexpr bool IsBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

double ParseCreditText(const Text& text) {
    const std::string_view s = text.view();
    std::size_t pos = 0;
    int c = NextFolded(s, pos);
    while (IsBlank(c)) {
        c = NextFolded(s, pos);
    }
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = NextFolded(s, pos);
    }
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    while (c >= '0' && c <= '9') {
        const int digit = c - '0';
        value = value > (kLimit - digit) / 10 ? kLimit : value * 10 + digit;
        c = NextFolded(s, pos);
    }
    return static_cast<double>(negative ? -value : value);
}

} // namespace tav::game

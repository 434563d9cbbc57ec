// Choosing the drawing scale from the command line, GDK_SCALE and the X resources' Xft.dpi.
#include "platform/display_scale.hpp"

namespace tav::platform {
namespace {

constexpr int kDpiPerScale = 96;
constexpr int kMaxDigits = 6;

// The whole number at the start of `text` (after blanks), if it starts with a digit.
std::optional<int> leading_number(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    int value = 0, digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < kMaxDigits; ++i, ++digits)
        value = value * 10 + (text[i] - '0');
    if (digits == 0) return std::nullopt;
    return value;
}

} // namespace

int choose_display_scale(int requested, const char* gdk_scale, std::optional<int> xft_dpi) {
    if (requested >= kMinDisplayScale && requested <= kMaxDisplayScale) return requested;
    if (gdk_scale != nullptr) {
        const std::string_view text(gdk_scale);
        if (text.size() == 1 && text[0] >= '0' + kMinDisplayScale && text[0] <= '0' + kMaxDisplayScale)
            return text[0] - '0';
    }
    if (xft_dpi) {
        if (*xft_dpi >= kMaxDisplayScale * kDpiPerScale) return kMaxDisplayScale;
        if (*xft_dpi >= 2 * kDpiPerScale) return 2;
    }
    return kMinDisplayScale;
}

std::optional<int> xft_dpi_from_resources(std::string_view resources) {
    constexpr std::string_view kName = "Xft.dpi:";
    std::size_t start = 0;
    while (start < resources.size()) {
        std::size_t end = resources.find('\n', start);
        if (end == std::string_view::npos) end = resources.size();
        const std::string_view line = resources.substr(start, end - start);
        if (line.starts_with(kName)) {
            const auto dpi = leading_number(line.substr(kName.size()));
            return dpi && *dpi > 0 ? dpi : std::nullopt;
        }
        start = end + 1;
    }
    return std::nullopt;
}

} // namespace tav::platform

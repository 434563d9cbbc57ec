// The program's command line: options, usage, version and the no-display message.

#include "runtime/command_line.hpp"

#include <charconv>

namespace tav {
namespace {

constexpr std::string_view kScaleOption = "--scale";

// A scale written as one of the whole numbers kMinScale..kMaxScale; 0 otherwise.
int scale_from(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return 0;
    return value >= kMinScale && value <= kMaxScale ? value : 0;
}

CommandLine failed(std::string message) {
    CommandLine line;
    line.action = CommandLine::Action::Error;
    line.error = std::move(message);
    return line;
}

} // namespace

CommandLine parse_command_line(std::span<const std::string_view> args) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (arg == "--version" || arg == "-V") {
            line.action = CommandLine::Action::Version;
            return line;
        }
        std::string_view value;
        if (arg == kScaleOption) {
            if (i + 1 == args.size()) return failed("--scale needs a number (1 to 3)");
            value = args[++i];
        } else if (arg.starts_with(kScaleOption) && arg.size() > kScaleOption.size() &&
                   arg[kScaleOption.size()] == '=') {
            value = arg.substr(kScaleOption.size() + 1);
        } else if (arg.starts_with("-")) {
            return failed("unknown option " + std::string(arg));
        } else {
            return failed("unexpected argument " + std::string(arg));
        }
        line.scale = scale_from(value);
        if (line.scale == 0) return failed("--scale takes 1, 2 or 3, not '" + std::string(value) + "'");
    }
    return line;
}

std::string usage_text(std::string_view program, std::string_view keys_help) {
    std::string text = "Usage: " + std::string(program) + " [--scale N]\n";
    text += "A lamp-ring fruit machine: top up credits, bet on eight symbols and start the lamp.\n\n";
    text += "Options:\n";
    text += "  --scale N    draw the window N times larger, N = 1, 2 or 3 (default: GDK_SCALE,\n";
    text += "               else 2 or 3 when the X resource Xft.dpi is 192 or 288 and more)\n";
    text += "  --version    print the version and exit\n";
    text += "  --help       print this help and exit\n";
    if (!keys_help.empty()) {
        text += "\nKeys:\n";
        text += keys_help;
    }
    return text;
}

std::string version_text(std::string_view program, std::string_view version) {
    return std::string(program) + " " + std::string(version) + "\n";
}

std::string display_failure_text(std::string_view program, const char* display_variable) {
    const std::string_view display = display_variable ? display_variable : "";
    if (display.empty()) return std::string(program) + ": cannot open the display (DISPLAY is not set)\n";
    return std::string(program) + ": cannot open display " + std::string(display) + "\n";
}

std::string display_silent_text(std::string_view program, const char* display_variable) {
    const std::string_view display = display_variable ? display_variable : "";
    if (display.empty()) return std::string(program) + ": the display does not answer\n";
    return std::string(program) + ": display " + std::string(display) + " does not answer\n";
}

int answer_command_line(const CommandLine& line, std::string_view program, std::string_view version,
                        std::string_view keys_help, std::FILE* out, std::FILE* err) {
    switch (line.action) {
        case CommandLine::Action::Help: std::fputs(usage_text(program, keys_help).c_str(), out); return 0;
        case CommandLine::Action::Version: std::fputs(version_text(program, version).c_str(), out); return 0;
        case CommandLine::Action::Error:
            std::fprintf(err, "%.*s: %s\n", int(program.size()), program.data(), line.error.c_str());
            std::fputs(usage_text(program, keys_help).c_str(), err);
            return 2;
        case CommandLine::Action::Run: break;
    }
    return 0;
}

} // namespace tav

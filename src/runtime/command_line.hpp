#pragma once
// The program's command line: what it asks for, the usage text, and what to say when the
// display cannot be opened.

#include <cstdio>
#include <span>
#include <string>
#include <string_view>

namespace tav {

inline constexpr int kMinScale = 1;
inline constexpr int kMaxScale = 3;

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    int scale = 0;     // --scale N (kMinScale..kMaxScale); 0 when not given (the desktop decides)
    std::string error; // Action::Error: what was wrong, one line without the program name
};

// Reads the arguments after the program name. Options: --help / -h, --version / -V,
// --scale N / --scale=N. Anything else (an unknown option, a stray word, a scale that is
// missing, not a whole number or outside 1..3) is an error. --help and --version win over
// everything after them; an error found before either stays an error.
CommandLine parse_command_line(std::span<const std::string_view> args);

// The usage text for --help and for errors: the synopsis, the options and then `keys_help`
// (the keyboard's lines, each ending in a newline) under "Keys:".
std::string usage_text(std::string_view program, std::string_view keys_help);

// "<program> <version>\n" for --version.
std::string version_text(std::string_view program, std::string_view version);

// What the program says on stderr when the display cannot be opened, given $DISPLAY (null or
// empty: not set): "cannot open the display (DISPLAY is not set)" or "cannot open display :N".
std::string display_failure_text(std::string_view program, const char* display_variable);

// What the program says on stderr when the display was reached but does not answer (a server
// that is stopped): "display :N does not answer", or "the display does not answer" when $DISPLAY
// is null or empty.
std::string display_silent_text(std::string_view program, const char* display_variable);

// Runs the non-Run actions: prints help or version on `out` (exit 0), or the error and the usage
// on `err` (exit 2). Returns the exit code.
int answer_command_line(const CommandLine& line, std::string_view program, std::string_view version,
                        std::string_view keys_help, std::FILE* out, std::FILE* err);

} // namespace tav

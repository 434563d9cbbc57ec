// The command line: options, errors and their exit codes, and the no-display message.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/command_line.hpp"

namespace tav {
namespace {

CommandLine parse(std::vector<std::string_view> args) { return parse_command_line(args); }

// What answer_command_line writes on its two streams, and its exit code.
struct Answer {
    int code = 0;
    std::string out, err;
};

std::string read_all(std::FILE* f) {
    std::string text;
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;) text += char(c);
    std::fclose(f);
    return text;
}

Answer answer(const CommandLine& line) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    Answer a;
    a.code = answer_command_line(line, "tavrino", "1.2.3.4", "  1-8  raise a bet\n", out, err);
    a.out = read_all(out);
    a.err = read_all(err);
    return a;
}

TEST(CommandLine, OptionsAndScales) {
    EXPECT_EQ(parse({}).action, CommandLine::Action::Run);
    EXPECT_EQ(parse({}).scale, 0);
    EXPECT_EQ(parse({"--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({"-h"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({"--version"}).action, CommandLine::Action::Version);
    EXPECT_EQ(parse({"--scale", "2"}).scale, 2);
    EXPECT_EQ(parse({"--scale=3"}).scale, 3);
    EXPECT_EQ(parse({"--scale", "1", "--scale", "2"}).scale, 2); // the last one counts
    // Help after a valid option still helps; an error before it stays an error.
    EXPECT_EQ(parse({"--scale", "2", "--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({"--bogus", "--help"}).action, CommandLine::Action::Error);
}

TEST(CommandLine, Errors) {
    for (const auto& args : std::vector<std::vector<std::string_view>>{{"--bogus"},
                                                                       {"-x"},
                                                                       {"game.dat"},
                                                                       {"--scale"},
                                                                       {"--scale", "0"},
                                                                       {"--scale", "4"},
                                                                       {"--scale", "2x"},
                                                                       {"--scale="},
                                                                       {"--scale", "-1"},
                                                                       {"--scalez"},
                                                                       {"--help=1"}}) {
        const CommandLine line = parse(args);
        EXPECT_EQ(line.action, CommandLine::Action::Error) << args.front();
        EXPECT_FALSE(line.error.empty()) << args.front();
    }
    EXPECT_NE(parse({"--frobnicate"}).error.find("--frobnicate"), std::string::npos);
}

TEST(CommandLine, AnswersOnTheRightStreamWithTheRightCode) {
    CommandLine help;
    help.action = CommandLine::Action::Help;
    const Answer h = answer(help);
    EXPECT_EQ(h.code, 0);
    EXPECT_TRUE(h.err.empty());
    EXPECT_TRUE(h.out.starts_with("Usage: tavrino [--scale N]\n")) << h.out;
    EXPECT_NE(h.out.find("--version"), std::string::npos);
    EXPECT_NE(h.out.find("\nKeys:\n  1-8  raise a bet\n"), std::string::npos) << h.out;

    CommandLine version;
    version.action = CommandLine::Action::Version;
    const Answer v = answer(version);
    EXPECT_EQ(v.code, 0);
    EXPECT_EQ(v.out, "tavrino 1.2.3.4\n");

    const Answer e = answer(parse({"--nope"}));
    EXPECT_EQ(e.code, 2);
    EXPECT_TRUE(e.out.empty());
    EXPECT_TRUE(e.err.starts_with("tavrino: unknown option --nope\nUsage: tavrino")) << e.err;
}

TEST(CommandLine, NoDisplayNamesTheReason) {
    EXPECT_EQ(display_failure_text("tavrino", nullptr), "tavrino: cannot open the display (DISPLAY is not set)\n");
    EXPECT_EQ(display_failure_text("tavrino", ""), "tavrino: cannot open the display (DISPLAY is not set)\n");
    EXPECT_EQ(display_failure_text("tavrino", ":7"), "tavrino: cannot open display :7\n");
}

} // namespace
} // namespace tav

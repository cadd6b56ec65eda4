// The command line: what it asks for, its mistakes named in one line, and the answers printed.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "game/command_line.h"

namespace {

CommandLine Parsed(const std::vector<std::string>& arguments) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    const auto* line = std::get_if<CommandLine>(&parsed);
    if (line == nullptr) {
        ADD_FAILURE() << "refused: " << std::get<CommandLineError>(parsed).problem;
        return {};
    }
    return *line;
}

std::string Problem(const std::vector<std::string>& arguments) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    const auto* error = std::get_if<CommandLineError>(&parsed);
    return error != nullptr ? error->problem : "(taken)";
}

// Status, standard output and standard error of the answer to a command line.
struct Answer {
    std::optional<int> status;
    std::string out;
    std::string errors;
};

Answer Answered(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream errors;
    Answer answer;
    answer.status = AnswerCommandLine(ParseCommandLine(arguments), out, errors);
    answer.out = out.str();
    answer.errors = errors.str();
    return answer;
}

TEST(CommandLineTest, OptionsWithTheirFilesAreTaken) {
    EXPECT_EQ(Parsed({}).request, CommandLine::Request::Play);
    EXPECT_TRUE(Parsed({}).record.empty());
    EXPECT_TRUE(Parsed({}).replay.empty());
    EXPECT_EQ(Parsed({"--record", "game.rec"}).record, "game.rec");
    EXPECT_TRUE(Parsed({"--record", "game.rec"}).replay.empty());
    EXPECT_EQ(Parsed({"--replay", "old.rec.gz"}).replay, "old.rec.gz");
    EXPECT_EQ(Parsed({"--record=with space.rec"}).record, "with space.rec");
    EXPECT_EQ(Parsed({"--replay=-odd.rec"}).replay, "-odd.rec");
    EXPECT_EQ(Parsed({"--edit", "mine.znl"}).edit, "mine.znl");
    EXPECT_EQ(Parsed({"--edit=pack.znk"}).edit, "pack.znk");
    EXPECT_TRUE(Parsed({"--replay", "old.rec"}).edit.empty());
    EXPECT_EQ(Parsed({"--record=a=b"}).record, "a=b");
    EXPECT_EQ(Parsed({"--replay", "a.rec", "--video", "a.webm"}).video, "a.webm");
    EXPECT_EQ(Parsed({"--replay", "a.rec", "--video", "a.webm"}).videoScale, 2);
    EXPECT_EQ(Parsed({"--video-scale=4", "--video=a.mkv", "--replay=a.rec"}).videoScale, 4);
}

// Help and version answer beside sound options only; the usage names the options, the keys and
// the manual page. What the program prints and its status for each are the command line
// script's to check.
TEST(CommandLineTest, HelpAndVersionAnswerBesideSoundOptionsOnly) {
    EXPECT_EQ(Answered({"--help", "--record", "a.rec"}).out, Usage());
    EXPECT_EQ(Parsed({"--record", "a.rec", "--version"}).request, CommandLine::Request::Version);
    EXPECT_EQ(Parsed({"--version", "-h"}).request, CommandLine::Request::Version);
    EXPECT_EQ(Answered({"--help", "--reccord"}).status, 2) << "a mistake beside them is named";
    EXPECT_EQ(Answered({"--record", "game.rec"}).status, std::nullopt) << "a game to play";
    const std::string usage = Usage();
    EXPECT_TRUE(usage.starts_with("Usage: zintrel [--record FILE | --replay FILE | --edit FILE]\n"))
        << usage;
    for (const char* part :
         {"--record FILE", "--replay FILE", "--edit FILE", "--video VIDEO", "--video-scale N",
          "-h, --help", "--version", "Space", "Esc", "man 6 zintrel"}) {
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    }
}

// Beside those the command line script runs.
TEST(CommandLineTest, EachMistakeIsNamedInOneLine) {
    EXPECT_EQ(Problem({"-x"}), "unknown option '-x'");
    EXPECT_EQ(Problem({"--record", "a.rec", "--wrong"}), "unknown option '--wrong'");
    EXPECT_EQ(Problem({"--help=yes"}), "unknown option '--help=yes'");
    EXPECT_EQ(Problem({"game.rec"}), "unexpected argument 'game.rec'");
    EXPECT_EQ(Problem({"--record", "a.rec", "b.rec"}), "unexpected argument 'b.rec'");
    EXPECT_EQ(Problem({"--replay="}), "option '--replay' needs a file name");
    EXPECT_EQ(Problem({"--record", "--replay", "b.rec"}), "option '--record' needs a file name");
    EXPECT_EQ(Problem({"--replay=b.rec", "--record=a.rec"}),
              "options '--replay' and '--record' exclude each other");
    EXPECT_EQ(Problem({"--edit", "a.znl", "--record", "b.rec"}),
              "options '--edit' and '--record' exclude each other");
    EXPECT_EQ(Problem({"--record", "a.rec", "--record", "b.rec"}),
              "option '--record' is given twice");
    EXPECT_EQ(Problem({"--video", "a.webm"}),
              "option '--video' needs '--replay' and the record to make it of");
    EXPECT_EQ(Problem({"--record", "a.rec", "--video", "a.webm"}),
              "option '--video' needs '--replay' and the record to make it of");
    EXPECT_EQ(Problem({"--replay", "a.rec", "--video-scale", "3"}),
              "option '--video-scale' goes with '--video'");
    for (const char* scale : {"2.5", "two"}) {
        EXPECT_EQ(Problem({"--replay", "a.rec", "--video", "a.webm", "--video-scale", scale}),
                  std::string("option '--video-scale' takes 1, 2, 3 or 4, not '") + scale + "'");
    }
}

}  // namespace

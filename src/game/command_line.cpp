// The program's command line: a table of the options that take a value, read in order.
#include "game/command_line.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <set>

namespace {

constexpr const char* kUsage =
    "Usage: zintrel [--record FILE | --replay FILE | --edit FILE]\n"
    "       zintrel --replay FILE --video VIDEO [--video-scale N]\n"
    "       zintrel --help | --version\n"
    "A full-screen arcade game: keep the balls in play and knock the gulls out of the sky.\n"
    "\n"
    "  --record FILE  play as usual and write a record of the game to FILE\n"
    "  --replay FILE  play the recorded game in FILE again and check that it goes the same way\n"
    "  --edit FILE    edit the levels of the level file or pack FILE (made when it does not\n"
    "                 exist); F1 in the editor lists its keys\n"
    "  --video VIDEO  with --replay: make the recorded game a video with its sound, without a\n"
    "                 screen, at 60 frames a second: VIDEO.webm (VP9 and Opus), VIDEO.mkv\n"
    "                 (lossless: FFV1 and FLAC) or VIDEO.mp4 (H.264 and AAC)\n"
    "  --video-scale N  the video's picture N times the game's 640 by 480, N from 1 to 4\n"
    "                 (2 when not given: 1280 by 960)\n"
    "  -h, --help     show this help and end\n"
    "  --version      show the program's version and end\n"
    "\n"
    "Keys: the mouse (or a game controller's stick, the arrow keys, a finger) moves the paddle,\n"
    "and a button (A, Space, the finger) held down sends the ball off it. Space or a click\n"
    "starts a game, P (Start) pauses, Esc (Back) leaves (press it twice), A shows the about\n"
    "screen, H the Hall of Fame, S what everything scores, O the Options (volumes, display,\n"
    "game speed, launching by a press, the mouse's sensitivity, the keys and buttons of play);\n"
    "Up, Down and Enter (the d-pad and A) choose on the title's menu. Alt+Enter switches\n"
    "between full screen and a window, F12 saves a screenshot.\n"
    "\n"
    "The manual page tells more: man 6 zintrel\n";

// An option that takes a value: a file, or the video's scale. Those that choose how the
// program runs exclude each other.
struct ValueOption {
    const char* name;
    std::string CommandLine::*file;  // none: the scale
    bool chooses;
};

constexpr ValueOption kValueOptions[] = {
    {"--record", &CommandLine::record, true}, {"--replay", &CommandLine::replay, true},
    {"--edit", &CommandLine::edit, true},     {"--video", &CommandLine::video, false},
    {"--video-scale", nullptr, false},
};

const ValueOption* FindValueOption(const std::string& name) {
    const auto found = std::find_if(std::begin(kValueOptions), std::end(kValueOptions),
                                    [&](const ValueOption& option) { return name == option.name; });
    return found != std::end(kValueOptions) ? found : nullptr;
}

// The video's scale that the text gives: a whole number from 1 to 4; 0 for anything else.
int VideoScale(const std::string& text) {
    return text.size() == 1 && text[0] >= '1' && text[0] <= '4' ? text[0] - '0' : 0;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    const ValueOption* chosen = nullptr;
    std::set<std::string> given;
    // The first of --help and --version answers, once every argument has been found sound.
    std::optional<CommandLine::Request> answer;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h" || argument == "--version") {
            answer = answer.value_or(argument == "--version" ? CommandLine::Request::Version
                                                             : CommandLine::Request::Help);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const ValueOption* option = argument.starts_with("--") ? FindValueOption(name) : nullptr;
        if (option == nullptr) {
            if (argument.starts_with("-")) {
                return CommandLineError{"unknown option '" + argument + "'"};
            }
            return CommandLineError{"unexpected argument '" + argument + "'"};
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size() && !arguments[i + 1].starts_with("-")) {
            value = arguments[++i];
        }
        if (value.empty()) {
            return CommandLineError{"option '" + name + "' needs " +
                                    (option->file != nullptr ? "a file name" : "a number")};
        }
        if (!given.insert(name).second) {
            return CommandLineError{"option '" + name + "' is given twice"};
        }
        if (option->chooses && chosen != nullptr) {
            return CommandLineError{"options '" + std::string(chosen->name) + "' and '" + name +
                                    "' exclude each other"};
        }
        if (option->chooses) {
            chosen = option;
        }
        if (option->file != nullptr) {
            line.*(option->file) = value;
        } else {
            line.videoScale = VideoScale(value);
            if (line.videoScale == 0) {
                return CommandLineError{"option '" + name + "' takes 1, 2, 3 or 4, not '" + value +
                                        "'"};
            }
        }
    }
    if (!line.video.empty() && line.replay.empty()) {
        return CommandLineError{"option '--video' needs '--replay' and the record to make it of"};
    }
    if (given.count("--video-scale") > 0 && line.video.empty()) {
        return CommandLineError{"option '--video-scale' goes with '--video'"};
    }
    if (answer) {
        CommandLine request;
        request.request = *answer;
        return request;
    }
    return line;
}

const char* Usage() {
    return kUsage;
}

std::string VersionText() {
    return std::string("zintrel ") + ZINTREL_VERSION + "\n";
}

std::optional<int> AnswerCommandLine(const ParsedCommandLine& parsed, std::ostream& out,
                                     std::ostream& errors) {
    if (const auto* error = std::get_if<CommandLineError>(&parsed)) {
        errors << "zintrel: " << error->problem << '\n' << kUsage;
        return 2;
    }
    switch (std::get<CommandLine>(parsed).request) {
        case CommandLine::Request::Help:
            out << kUsage;
            return 0;
        case CommandLine::Request::Version:
            out << VersionText();
            return 0;
        case CommandLine::Request::Play:
            break;
    }
    return std::nullopt;
}

// The program's command line: a table of the options that take a file, read in order.
#include "game/command_line.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace {

constexpr const char* kUsage =
    "Usage: zintrel [--record FILE | --replay FILE | --edit FILE]\n"
    "       zintrel --help | --version\n"
    "A full-screen arcade game: keep the balls in play and knock the gulls out of the sky.\n"
    "\n"
    "  --record FILE  play as usual and write a record of the game to FILE\n"
    "  --replay FILE  play the recorded game in FILE again and check that it goes the same way\n"
    "  --edit FILE    edit the levels of the level file or pack FILE (made when it does not\n"
    "                 exist); F1 in the editor lists its keys\n"
    "  -h, --help     show this help and end\n"
    "  --version      show the program's version and end\n"
    "\n"
    "Keys: the mouse (or a game controller's stick, the arrow keys, a finger) moves the paddle,\n"
    "and a button (A, Space, the finger) held down sends the ball off it. Space or a click\n"
    "starts a game, P (Start) pauses, Esc (Back) leaves (press it twice), A shows the about\n"
    "screen, H the Hall of Fame, S what everything scores. Alt+Enter switches between full\n"
    "screen and a window, F12 saves a screenshot.\n"
    "\n"
    "The manual page tells more: man 6 zintrel\n";

// An option that takes a file. Each of them chooses how the program runs, so they exclude
// each other.
struct FileOption {
    const char* name;
    std::string CommandLine::*value;
};

constexpr FileOption kFileOptions[] = {
    {"--record", &CommandLine::record},
    {"--replay", &CommandLine::replay},
    {"--edit", &CommandLine::edit},
};

const FileOption* FindFileOption(const std::string& name) {
    const auto found = std::find_if(std::begin(kFileOptions), std::end(kFileOptions),
                                    [&](const FileOption& option) { return name == option.name; });
    return found != std::end(kFileOptions) ? found : nullptr;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    const FileOption* chosen = nullptr;
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
        const FileOption* option = argument.starts_with("--") ? FindFileOption(name) : nullptr;
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
            return CommandLineError{"option '" + name + "' needs a file name"};
        }
        if (chosen == option) {
            return CommandLineError{"option '" + name + "' is given twice"};
        }
        if (chosen != nullptr) {
            return CommandLineError{"options '" + std::string(chosen->name) + "' and '" + name +
                                    "' exclude each other"};
        }
        chosen = option;
        line.*(option->value) = value;
    }
    if (answer) {
        return CommandLine{*answer, {}, {}, {}};
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

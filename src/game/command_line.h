// The program's command line: what it asks for, the usage, and the answers given at once.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

// What a well-formed command line asks the program to do.
struct CommandLine {
    enum class Request { Play, Help, Version };
    Request request = Request::Play;
    std::string record;  // --record FILE: play, and write what the game took to FILE
    std::string replay;  // --replay FILE: play FILE's game again and compare
    std::string edit;    // --edit FILE: edit the levels of FILE, made when it does not exist
    std::string video;   // --video FILE: with --replay, make the replayed game a video in FILE
    int videoScale = 2;  // --video-scale N: the video's pictures N times the game's screen
};

// What is wrong with a command line, in one line without the program's name.
struct CommandLineError {
    std::string problem;
};

using ParsedCommandLine = std::variant<CommandLine, CommandLineError>;

// Reads the arguments after the program's name. "--help", "-h" and "--version" answer when
// every argument is sound, the first of them given; an option's value follows it as the next
// argument or after "=".
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The usage, as --help prints it.
const char* Usage();

// The program's name and version, as --version prints it.
std::string VersionText();

// Prints what a command line asks to be answered without playing: the usage or the version on
// out (status 0), or the problem and the usage on errors (status 2). None when the game is to
// be played.
std::optional<int> AnswerCommandLine(const ParsedCommandLine& parsed, std::ostream& out,
                                     std::ostream& errors);

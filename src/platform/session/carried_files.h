// The files that decided a recorded game: the lines a recording writes of the files the game
// opened and found, and, in a replay, those files served from a folder of the replay's own.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/api/gamefolders.h"

namespace platform {

// A recording's notes of the files the game opened, each file once.
class FileNotes {
  public:
    // The line that notes the file the game opened under the name at the path: "carry" with a
    // file read whole, "pack" with a level pack's fingerprint, "needs" with a picture shown;
    // none when the file was noted before or a pack or picture could not be read.
    std::optional<std::string> Opened(const std::string& name, const std::string& path);
    // The line of what a search of the game's folders for the pattern found.
    static std::string Found(const std::string& pattern, const std::vector<std::string>& names);

  private:
    std::set<std::string> opened_;  // by their names in lower case
};

// A replay's files: what its record carries and names, checked against the game's folders and
// served from a folder of its own, searched first, until the replay ends.
class CarriedFiles {
  public:
    CarriedFiles() = default;
    CarriedFiles(const CarriedFiles&) = delete;
    CarriedFiles& operator=(const CarriedFiles&) = delete;
    ~CarriedFiles();

    // Whether a record's line, by its first word, is one of the files.
    static bool IsFileLine(const std::string& first);
    // Takes one such line, split into words; false when it is not a valid one.
    bool Read(const std::vector<std::string>& words);
    // Refuses the replay, before its first frame, when the game's folders lack what the record
    // cannot carry: a picture the recorded game showed, or the level pack it played as it was.
    // Then serves the carried files, and a silent tune for each recorded tune the game's
    // folders lack, in front of the folders given. Throws Exception.
    void Serve(const GameFolders& folders);
    // The names the recorded game's next search for the pattern found; the live ones when the
    // record holds none.
    std::vector<std::string> Found(const std::string& pattern, std::vector<std::string> live);

  private:
    void Check() const;

    std::vector<std::pair<std::string, std::string>> carried_;  // names and contents
    std::vector<std::pair<std::string, std::string>> packs_;    // names and fingerprints
    std::vector<std::string> pictures_;
    std::map<std::string, std::deque<std::vector<std::string>>> found_;  // by pattern
    std::string folder_;  // the replay's folder of the record's files, when it has one
};

}  // namespace platform

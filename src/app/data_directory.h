#pragma once
// Where the game's data is: the directory that holds LEVELS/, SKY/ and config.dat. The game then
// makes that its working directory, so every relative path it reads ("LEVELS\\LEVEL_001.VRM",
// "SKY\\Left.bmp", "config.dat") holds as it always has.
//
// Looked in, in this order: the directory named by --data (and then nothing else); otherwise the
// working directory, the installed data next to the executable (../share/brontal from the
// executable's directory) and the build tree's data directory. The first that holds a LEVELS
// directory is taken. A level named on the command line needs no LEVELS: then a --data
// directory need only exist, and without one the game stays where it started when no place
// has LEVELS.
#include <optional>
#include <string>
#include <vector>

namespace brontal {

struct DataSearch {
    std::optional<std::string> explicitDir;  // --data
    std::string workingDir;
    std::string executableDir;               // empty when unknown
    std::string installedFromExecutable;     // e.g. "../share/brontal"
    std::string buildDataDir;                // empty when not compiled in
};

// The places to look, in order, without duplicates.
std::vector<std::string> DataDirectoryCandidates(const DataSearch& search);

// The first candidate for which holdsData says yes.
std::optional<std::string> FindDataDirectory(const std::vector<std::string>& candidates,
                                             bool (*holdsData)(const std::string& dir));

// True when dir holds a LEVELS directory.
bool HoldsGameData(const std::string& dir);
// True when dir is a directory (all a --data directory must be when --level names the level).
bool IsDirectory(const std::string& dir);

// One message naming every place looked.
std::string DataNotFoundMessage(const std::vector<std::string>& candidates);

// path made absolute against base (itself absolute); an absolute path stays as it is. Nothing is
// looked up on disk; "." and ".." segments are folded.
std::string AbsolutePathFrom(const std::string& base, const std::string& path);

// The directory of the running executable (/proc/self/exe), empty when it cannot be read.
std::string ExecutableDirectory();
// The working directory, empty when it cannot be read.
std::string WorkingDirectory();

}  // namespace brontal

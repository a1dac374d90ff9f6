#pragma once
// Where the two rule files live, decided once when a program starts.
//
// A program used from a folder of its own (the build folder, a copy in a
// folder of the user's) keeps its rule files beside it: that folder is
// chosen when it already holds either rule file or the user may create files
// in it. An installed program (in /usr/bin, which is not the user's to
// write) keeps them in the user's data folder, $XDG_DATA_HOME/zelmar
// (~/.local/share/zelmar by default), created when missing. When that folder
// holds neither rule file, the example rules shipped with the program are
// copied in, so that a new user starts with a working progression; a single
// missing file is left to the normal reading, which creates it empty. Where
// there are no examples to copy, the choice reports where the rule files
// are and that they are empty.
//
// An installed program is known by its shipped examples beside it
// (../share/zelmar/examples). Its folder belongs to the package and is
// shared by every user, so it gets no rule files even from a user who may
// write there (root, or an installation into a folder of the user's), unless
// it already holds one.
//
// On Windows the same rule holds with Windows places: the examples lie in the
// program's folder under examples\, and the data folder is
// %LOCALAPPDATA%\Zelmar (or %USERPROFILE%\AppData\Local\Zelmar). The
// unzipped portable folder holds its rule files and is chosen; a program
// installed in Program Files is not the user's to write.

#include <string>
#include <vector>

namespace zelmar {

// All paths are UTF-8.
struct RuleFolderPlaces {
    std::string programDir; // the folder of the executable
    std::string examplesDir; // the shipped example rules; need not exist
    std::string dataHome; // $XDG_DATA_HOME (%LOCALAPPDATA%) as set; empty or relative means unset
    std::string home; // the user's home folder, or empty when unknown
};

// Where the data folder lies on this system: under the home folder when
// dataHome is unset, its own name, and the variable naming the home folder.
struct DataFolderNames {
    const char* underHome; // ".local/share"; "AppData/Local" on Windows
    const char* name; // "zelmar"; "Zelmar" on Windows
    const char* homeVariable; // "HOME"; "USERPROFILE" on Windows
};
extern const DataFolderNames SystemDataFolder;

struct RuleFolderChoice {
    std::string folder; // where the rule files live for this run
    // Failures to show the user, in Chinese; the program goes on with
    // `folder`, whose files then report their own failures when read.
    std::vector<std::string> reports;
};

RuleFolderChoice ChooseRuleFolder(const RuleFolderPlaces& places);

// The places for the running program in `programDir`: the examples where the
// package installs them relative to the executable, the data and home
// folders from the environment (the account's home when HOME is unset).
RuleFolderPlaces RuleFolderPlacesFor(const std::string& programDir);

// Both steps at once, as the programs call it at start-up.
inline RuleFolderChoice ChooseRuleFolder(const std::string& programDir)
{
    return ChooseRuleFolder(RuleFolderPlacesFor(programDir));
}

} // namespace zelmar

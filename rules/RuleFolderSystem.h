#pragma once
// The system's side of choosing the rule folder, one source file per system
// (RuleFolderPosix.cpp, RuleFolderWindows.cpp). Paths are UTF-8.

#include <string>

namespace zelmar::system {

// Whether the running user may create files in `dir`.
bool MayCreateFilesIn(const std::string& dir);
// Creates the one folder `dir` (its parent exists), the user's alone where
// the system has such a thing. 0, EEXIST or an errno value.
int MakeFolder(const std::string& dir);
// Reads an existing file whole. 0 or an errno value.
int ReadWholeFile(const std::string& path, std::string& out);

} // namespace zelmar::system

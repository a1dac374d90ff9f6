#pragma once
// Shared by the robustness tests: rule files in memory or in a private
// folder, a picture of what a folder holds, and the check of a failure
// report.

#include "calculator/Calculator.h"
#include "calculator/HeadlessView.h"
#include "tests/support/MemoryFileService.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

namespace zelmar::robust {

namespace fs = std::filesystem;

const std::string OldWin = "1,1,2,3";
const std::string OldLost = "1,2,3\r\n2,4,6,8";

using test::readFile;
using test::TempFolder;
using test::writeFile;

// Everything under `root`: each entry with its kind and a file's text, so
// that any change, a file left behind or a folder created shows.
inline std::map<std::string, std::string> snapshot(const fs::path& root)
{
    if (!fs::exists(fs::symlink_status(root)))
        return { { ".", "missing" } };
    std::map<std::string, std::string> all;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(e.path(), root).string();
        all[name] = e.is_symlink() ? "link to " + fs::read_symlink(e.path()).string()
            : e.is_directory()     ? "folder"
                                   : readFile(e.path());
    }
    return all;
}

// A report names the file and gives the system's reason.
inline void expectReport(const std::string& report, const std::string& path, int error)
{
    EXPECT_NE(report.find(path), std::string::npos) << report;
    EXPECT_NE(report.find(std::strerror(error)), std::string::npos) << report;
}

} // namespace zelmar::robust

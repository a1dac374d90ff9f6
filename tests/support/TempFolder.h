#pragma once
// A fresh folder under the system's temporary folder for one test, removed
// afterwards, and whole-file reads and writes in it. Paths given as text are
// UTF-8, as the program's own are.

#include "rules/Utf8Path.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

namespace zelmar::test {

struct TempFolder {
    TempFolder()
    {
        namespace fs = std::filesystem;
        static std::mt19937_64 random { std::random_device {}() };
        const fs::path tmp = fs::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = tmp / ("zelmar-test-" + std::to_string(random() % 1000000000));
            // create_directory is false when the name is taken: try another.
            if (fs::create_directory(candidate)) {
                path = candidate;
                return;
            }
        }
        throw std::runtime_error("cannot create a temporary folder");
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path path;
};

inline void writeFile(const std::filesystem::path& path, const std::string& text)
{
    if (!(std::ofstream(path, std::ios::binary) << text))
        throw std::runtime_error("cannot write " + path.string());
}
inline void writeFile(const std::string& path, const std::string& text)
{
    writeFile(PathFromUtf8(path), text);
}
inline void writeFile(const char* path, const std::string& text)
{
    writeFile(PathFromUtf8(path), text);
}

inline std::string readFile(const std::filesystem::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}
inline std::string readFile(const std::string& path)
{
    return readFile(PathFromUtf8(path));
}
inline std::string readFile(const char* path)
{
    return readFile(PathFromUtf8(path));
}

} // namespace zelmar::test

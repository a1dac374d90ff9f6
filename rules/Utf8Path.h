#pragma once
// File names travel through the program as UTF-8 text. std::filesystem
// reads a plain std::string in the system's 8-bit code page on Windows (GBK
// on a Chinese PC), so every conversion between the two goes through here.

#include <filesystem>
#include <string>
#include <string_view>

namespace zelmar {

inline std::filesystem::path PathFromUtf8(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace zelmar

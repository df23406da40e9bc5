#pragma once
#include <filesystem>
#include <string>

namespace platform {

// Text is UTF-8 throughout; std::filesystem would read a narrow string in the
// system's ANSI code page on Windows, so every conversion goes through char8_t.
inline std::filesystem::path u8path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string u8string(const std::filesystem::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

}  // namespace platform

#pragma once
// UTF-8 inside the program, UTF-16 at the Windows boundary.
#include <windows.h>
#include <string>

namespace win32 {

inline std::wstring widen(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

inline std::string narrow(const wchar_t* w, int len = -1) {
    if (!w || len == 0 || (len < 0 && !*w)) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w, len, nullptr, 0, nullptr, nullptr);
    std::string s(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w, len, s.data(), n, nullptr, nullptr);
    if (len < 0 && !s.empty() && s.back() == '\0') s.pop_back();
    return s;
}

inline std::string narrow(const std::wstring& w) { return narrow(w.data(), int(w.size())); }

}  // namespace win32

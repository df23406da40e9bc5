#include "win32/Win32Audio.h"

#include <windows.h>
#include <mmsystem.h>

#include <vector>

#include "win32/Text.h"

namespace win32 {
namespace {

// The short form, or an empty string when there is none (a missing file).
std::wstring shortForm(const std::wstring& path) {
    std::vector<wchar_t> buffer(512);
    DWORD n = GetShortPathNameW(path.c_str(), buffer.data(), DWORD(buffer.size()));
    if (n >= buffer.size()) {
        // Too long for the usual buffer: a cut-off path would name another file.
        buffer.assign(std::size_t(n) + 1, L'\0');
        n = GetShortPathNameW(path.c_str(), buffer.data(), DWORD(buffer.size()));
        if (n >= buffer.size()) n = 0;
    }
    return std::wstring(buffer.data(), n);
}

bool fitsAnsiCodePage(const std::wstring& text) {
    if (text.empty()) return true;
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), nullptr, 0, nullptr, &lossy);
    return !lossy;
}

}  // namespace

void Win32Audio::messageBeep(unsigned type) {
    MessageBeep(type);
}

bool Win32Audio::playSound(const std::string& path) {
    std::wstring name = widen(path);
    // winmm opens the file through the ANSI code page, which would turn a
    // name outside it into question marks; its short form is the same file.
    if (!fitsAnsiCodePage(name)) {
        if (std::wstring alt = shortForm(name); !alt.empty()) name = std::move(alt);
    }
    // Flags 0: wait for the end, try the name as an alias before the file, and
    // fall back to the default sound, which callers count on.
    return PlaySoundW(name.c_str(), nullptr, 0) != FALSE;
}

platform::MciResult Win32Audio::mciSend(const std::string& command, bool wantReply) {
    platform::MciResult result;
    if (!wantReply) {
        result.error = mciSendStringW(widen(command).c_str(), nullptr, 0, nullptr);
        return result;
    }
    wchar_t reply[128] = {};
    result.error = mciSendStringW(widen(command).c_str(), reply, UINT(std::size(reply)), nullptr);
    // A failed query leaves the buffer undefined; its text must not be taken
    // for a reply such as "stopped".
    if (result.error == 0) {
        reply[std::size(reply) - 1] = L'\0';
        result.reply = narrow(reply);
    }
    return result;
}

std::string Win32Audio::shortPath(const std::string& path) {
    const std::wstring alt = shortForm(widen(path));
    // A missing file has no short form; the long one fails the same way later.
    return alt.empty() ? path : narrow(alt);
}

}  // namespace win32

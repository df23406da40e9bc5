#include "win32/Win32Ports.h"
#include "win32/Entry.h"
#include <windows.h>
#include <knownfolders.h>
#include <mapi.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <iterator>
#include <memory>
#include "platform/Failure.h"
#include "win32/Handles.h"
#include "win32/Text.h"

namespace win32 {

namespace {

HWND hwnd(platform::WindowId w) { return reinterpret_cast<HWND>(w); }

const wchar_t* orNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }

using IsPwrHibernateAllowedFn = BOOLEAN(WINAPI*)();

struct CoTaskFree {
    void operator()(wchar_t* p) const { CoTaskMemFree(p); }
};

class ThreadInputAttachment {
public:
    ThreadInputAttachment(DWORD ours, DWORD theirs)
        : ours_(ours), theirs_(theirs), attached_(AttachThreadInput(ours, theirs, TRUE) != FALSE) {}
    ~ThreadInputAttachment() {
        if (attached_) AttachThreadInput(ours_, theirs_, FALSE);
    }
    ThreadInputAttachment(const ThreadInputAttachment&) = delete;
    ThreadInputAttachment& operator=(const ThreadInputAttachment&) = delete;

private:
    DWORD ours_, theirs_;
    bool attached_;
};

}  // namespace

// ---- Clock -----------------------------------------------------------------

platform::LocalTime Win32Clock::now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    platform::LocalTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    t.weekday = st.wDayOfWeek;
    return t;
}

// ---- Shell -----------------------------------------------------------------

bool Win32Shell::open(const std::string& target, const std::string& verb, const std::string& params,
                      int showCommand, platform::WindowId owner, const std::string& folder) {
    const std::wstring t = widen(target), v = widen(verb), p = widen(params), d = widen(folder);
    const HINSTANCE r = ShellExecuteW(hwnd(owner), orNull(v), t.c_str(), orNull(p), orNull(d), showCommand);
    return reinterpret_cast<INT_PTR>(r) > 32;
}

// ---- Power -----------------------------------------------------------------

namespace {

// A system library by its full path in the system folder: a file of the same
// name beside Lumivo.exe must never be the one that runs.
UniqueLibrary loadSystemLibrary(const wchar_t* name) {
    wchar_t dir[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return UniqueLibrary();
    const std::wstring path = std::wstring(dir) + L"\\" + name;
    return UniqueLibrary(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace

bool Win32Power::setPrivilege(const std::string& name, bool enable) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return false;
    const UniqueHandle token(raw);
    LUID luid{};
    if (!LookupPrivilegeValueW(nullptr, widen(name).c_str(), &luid)) return false;
    TOKEN_PRIVILEGES tp{};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Luid = luid;
    tp.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    if (!AdjustTokenPrivileges(token.get(), FALSE, &tp, sizeof tp, nullptr, nullptr)) return false;
    // Success with ERROR_NOT_ALL_ASSIGNED means the account lacks the privilege.
    return GetLastError() == ERROR_SUCCESS;
}

unsigned Win32Power::exitWindows(unsigned flags) {
    if (ExitWindowsEx(flags, 0)) return 0;
    const DWORD e = GetLastError();
    return e != 0 ? unsigned(e) : unsigned(ERROR_GEN_FAILURE);
}

bool Win32Power::hibernationAllowed() {
    const UniqueLibrary lib = loadSystemLibrary(L"powrprof.dll");
    if (!lib) return false;
    const auto fn = entry<IsPwrHibernateAllowedFn>(lib.get(), "IsPwrHibernateAllowed");
    return fn && fn() != FALSE;
}

bool Win32Power::suspend(bool hibernate, bool force, bool disableWakeEvents) {
    // A failed look-up is tried again at the next call.
    if (!setSuspendState_) {
        UniqueLibrary lib = loadSystemLibrary(L"powrprof.dll");
        if (!lib) return false;
        setSuspendState_ = entry<SetSuspendStateFn>(lib.get(), "SetSuspendState");
        if (!setSuspendState_) return false;
        powerLibrary_ = std::move(lib);
    }
    return setSuspendState_(hibernate ? TRUE : FALSE, force ? TRUE : FALSE, disableWakeEvents ? TRUE : FALSE) != FALSE;
}

void Win32Power::keepAwake(bool on) {
    SetThreadExecutionState(on ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
}

// ---- System ----------------------------------------------------------------

platform::OsVersion Win32System::version() {
    // Truthful above Windows 8 only because the manifest lists those systems.
    OSVERSIONINFOW vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    if (!GetVersionExW(&vi)) return {};
    return {unsigned(vi.dwMajorVersion), unsigned(vi.dwMinorVersion), unsigned(vi.dwBuildNumber),
            unsigned(vi.dwPlatformId)};
}

// A name the system does not have reads empty; one it fails to give is a
// failure of its own, which the error record reports.
std::string Win32System::userName() {
    wchar_t buf[255] = {};
    DWORD n = DWORD(std::size(buf)) - 1;
    if (!GetUserNameW(buf, &n)) throw platform::SystemError("GetUserNameW failed: " + std::to_string(GetLastError()));
    if (n == 0) return {};
    return narrow(buf);
}

std::string Win32System::computerName() {
    wchar_t buf[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD n = DWORD(std::size(buf));
    if (!GetComputerNameW(buf, &n))
        throw platform::SystemError("GetComputerNameW failed: " + std::to_string(GetLastError()));
    if (n == 0) return {};
    return narrow(buf, int(n));
}

std::filesystem::path Win32System::programFile() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) {
            buf.resize(n);
            return std::filesystem::path(buf);
        }
        // Truncated (long paths reach 32767 characters).
        if (buf.size() > 32768) return {};
        buf.resize(buf.size() * 2);
    }
}

std::filesystem::path Win32System::localAppData() {
    wchar_t* raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &raw);
    const std::unique_ptr<wchar_t, CoTaskFree> owned(raw);
    if (FAILED(hr) || !raw) return {};
    return std::filesystem::path(raw);
}

std::string Win32System::timeSeparator() {
    wchar_t buf[16];
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIME, buf, int(std::size(buf)));
    // A time without any separator would read as one number.
    if (n <= 1) return ":";
    return narrow(buf);
}

namespace {
// A date in the user's locale by a pattern, or by the flags' format when none.
std::string formatDate(const platform::LocalTime& t, DWORD flags, const wchar_t* pattern) {
    SYSTEMTIME st{};
    st.wYear = WORD(t.year);
    st.wMonth = WORD(t.month);
    st.wDay = WORD(t.day);
    st.wDayOfWeek = WORD(t.weekday);
    const int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, flags, &st, pattern, nullptr, 0, nullptr);
    if (n <= 1) return {};
    std::wstring out(std::size_t(n), L'\0');
    const int written = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, flags, &st, pattern, out.data(), n, nullptr);
    if (written <= 1) return {};
    out.resize(std::size_t(written - 1));
    return narrow(out);
}
}  // namespace

std::string Win32System::longDate(const platform::LocalTime& t) { return formatDate(t, 0, L"dddd dd MMMM yyyy"); }

std::string Win32System::shortDate(const platform::LocalTime& t) { return formatDate(t, DATE_SHORTDATE, nullptr); }

std::string Win32System::dateSeparator() {
    wchar_t buf[16];
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDATE, buf, int(std::size(buf)));
    if (n <= 1) return "/";
    return narrow(buf);
}

bool Win32System::replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    // Windows refuses to replace a read-only file, Wine does not: asked first, the same everywhere.
    const DWORD target = GetFileAttributesW(to.c_str());
    if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::int16_t Win32System::asyncKeyState(int virtualKey) { return GetAsyncKeyState(virtualKey); }

platform::WindowId Win32System::findWindow(const std::string& className, const std::string& caption) {
    const std::wstring c = widen(className), t = widen(caption);
    return reinterpret_cast<platform::WindowId>(FindWindowW(orNull(c), orNull(t)));
}

std::intptr_t Win32System::sendMessage(platform::WindowId w, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
    // A hung other copy must not hang this one.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd(w), message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, 5000, &result))
        return 0;
    return std::intptr_t(result);
}

unsigned Win32System::registerWindowMessage(const std::string& name) {
    return RegisterWindowMessageW(widen(name).c_str());
}

bool raiseOverForeground(HWND target) {
    const HWND foreground = GetForegroundWindow();
    if (!target || !foreground) return false;
    const DWORD theirs = GetWindowThreadProcessId(foreground, nullptr);
    const DWORD ours = GetCurrentThreadId();
    if (theirs == 0 || theirs == ours) return false;
    RECT r{};
    if (!GetWindowRect(target, &r)) return false;
    // Joined input queues let a background thread reorder the foreground's windows.
    const ThreadInputAttachment attached(ours, theirs);
    SetWindowPos(foreground, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
    SetWindowPos(target, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_FRAMECHANGED);
    return true;
}

void Win32System::bringToFront(platform::WindowId window) { raiseOverForeground(hwnd(window)); }

void Win32System::setForeground(platform::WindowId window) { SetForegroundWindow(hwnd(window)); }

// ---- Mail ------------------------------------------------------------------

namespace {

// The simple mail interface takes texts in the system's code page; a path is
// given by its short form, which any code page can spell.
std::string ansi(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, w.c_str(), int(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string ansiPath(const std::string& utf8) {
    const std::wstring w = widen(utf8);
    std::wstring shortPath(MAX_PATH, L'\0');
    const DWORD n = GetShortPathNameW(w.c_str(), shortPath.data(), DWORD(shortPath.size()));
    if (n == 0 || n >= shortPath.size()) return ansi(w);
    shortPath.resize(n);
    return ansi(shortPath);
}

}  // namespace

bool Win32Mail::send(const platform::MailMessage& m) {
    if (!lookedUp_) {
        lookedUp_ = true;
        mapiLibrary_ = loadSystemLibrary(L"mapi32.dll");
        if (mapiLibrary_) sendMail_ = entry<SendMailFn>(mapiLibrary_.get(), "MAPISendMail");
    }
    if (!sendMail_) return false;
    std::string subject = ansi(widen(m.subject)), address = ansi(widen(m.recipientAddress)), name;
    std::string attachment = m.attachmentPath.empty() ? std::string() : ansiPath(m.attachmentPath);
    MapiRecipDesc recipient{};
    recipient.ulRecipClass = MAPI_TO;
    recipient.lpszName = name.data();
    recipient.lpszAddress = address.data();
    MapiFileDesc file{};
    file.nPosition = 2;
    file.lpszPathName = attachment.data();
    MapiMessage message{};
    message.lpszSubject = subject.data();
    message.nRecipCount = address.empty() ? 0 : 1;
    message.lpRecips = address.empty() ? nullptr : &recipient;
    message.nFileCount = attachment.empty() ? 0 : 1;
    message.lpFiles = attachment.empty() ? nullptr : &file;
    const ULONG r = sendMail_(0, 0, &message, MAPI_LOGON_UI | MAPI_DIALOG, 0);
    // A user who cancels in the mail program's dialog still had one to use.
    return r == SUCCESS_SUCCESS || r == MAPI_USER_ABORT;
}

}  // namespace win32

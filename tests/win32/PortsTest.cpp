// The clock, system, power, shell and mail adapters against the real APIs.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "win32/Handles.h"
#include "win32/Win32Ports.h"

TEST(Ports, LocalTimeAndDateTexts) {
    win32::Win32Clock clock;
    win32::Win32System sys;
    SYSTEMTIME st;
    GetLocalTime(&st);
    const platform::LocalTime t = clock.now();
    EXPECT_EQ(t.year, st.wYear);
    EXPECT_EQ(t.weekday, st.wDayOfWeek);
    EXPECT_GE(t.month, 1);
    EXPECT_LE(t.month, 12);
    EXPECT_FALSE(sys.timeSeparator().empty());
    platform::LocalTime d;
    d.year = 2026;
    d.month = 12;
    d.day = 7;
    const std::string date = sys.longDate(d);
    EXPECT_NE(date.find("07"), std::string::npos) << date;
    EXPECT_NE(date.find("2026"), std::string::npos) << date;
    platform::LocalTime bad = d;
    bad.month = 13;
    EXPECT_TRUE(sys.longDate(bad).empty());
}

TEST(Ports, ShortDateAndDateSeparator) {
    win32::Win32System sys;
    platform::LocalTime d;
    d.year = 2026;
    d.month = 12;
    d.day = 7;
    const std::string date = sys.shortDate(d), separator = sys.dateSeparator();
    ASSERT_FALSE(separator.empty());
    EXPECT_NE(date.find(separator), std::string::npos) << date;
    EXPECT_NE(date.find("12"), std::string::npos) << date;
    EXPECT_NE(date.find("26"), std::string::npos) << date;
    EXPECT_EQ(date.find("декабр"), std::string::npos) << "short, in numbers: " << date;
    platform::LocalTime bad = d;
    bad.month = 13;
    EXPECT_TRUE(sys.shortDate(bad).empty());
}

namespace {
void put(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << text;
}
std::string got(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

TEST(Ports, ReplaceFileTakesTheOldOnesPlaceButNotAReadOnlyOnes) {
    namespace fs = std::filesystem;
    win32::Win32System sys;
    const fs::path dir = fs::temp_directory_path() / (L"lumivo-replace-" + std::to_wstring(GetCurrentProcessId()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path target = dir / L"Настройки.SetLMV", temp = dir / L"Настройки.SetLMV.~tmp";
    put(target, "old");
    put(temp, "new");
    EXPECT_TRUE(sys.replaceFile(temp, target));
    EXPECT_EQ(got(target), "new");
    EXPECT_FALSE(fs::exists(temp));

    put(temp, "newer");
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(sys.replaceFile(temp, target));
    EXPECT_EQ(got(target), "new");
    EXPECT_EQ(got(temp), "newer");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Open in another program without sharing: refused, nothing lost.
    {
        const win32::UniqueHandle locked(CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_NE(locked.get(), INVALID_HANDLE_VALUE);
        EXPECT_FALSE(sys.replaceFile(temp, target));
    }
    EXPECT_EQ(got(target), "new");

    EXPECT_TRUE(sys.replaceFile(temp, dir / L"Новый.SetLMV")) << "no file there yet";
    EXPECT_EQ(got(dir / L"Новый.SetLMV"), "newer");
    EXPECT_FALSE(sys.replaceFile(dir / L"нет такого", target));
    EXPECT_EQ(got(target), "new");
    fs::remove_all(dir);
}

TEST(Ports, SystemIdentity) {
    win32::Win32System sys;
    const platform::OsVersion v = sys.version();
    EXPECT_GE(v.major, 5u);
    EXPECT_FALSE(sys.userName().empty());
    EXPECT_FALSE(sys.computerName().empty());
    EXPECT_EQ(sys.programFile().filename(), "win32_tests.exe");
    EXPECT_FALSE(sys.localAppData().empty());
    const unsigned m = sys.registerWindowMessage("TaskbarCreated");
    EXPECT_GE(m, 0xC000u);
    EXPECT_EQ(m, sys.registerWindowMessage("TaskbarCreated"));
}

TEST(Ports, WindowsOfOtherCopiesAreFoundMessagedAndBroughtForward) {
    win32::Win32System sys;
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_USER + 7) return LRESULT(w + l);
        return DefWindowProcW(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TFormPortsTest";
    RegisterClassW(&wc);
    HWND h = CreateWindowExW(0, L"TFormPortsTest", L"Проверка", WS_POPUP, 10, 20, 100, 50, nullptr, nullptr,
                             wc.hInstance, nullptr);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(sys.findWindow("TFormPortsTest", "Проверка"), platform::WindowId(h));
    EXPECT_EQ(sys.findWindow("TFormPortsTest", "Lumivo"), 0u);
    EXPECT_EQ(sys.sendMessage(platform::WindowId(h), WM_USER + 7, 40, 2), 42);
    sys.bringToFront(platform::WindowId(h));
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 100);
    DestroyWindow(h);
}

// The mail port is not called here: with a mail library present it opens a real mail dialog.
TEST(Ports, ShellReportsFailure) {
    win32::Win32Shell shell;
    EXPECT_FALSE(shell.open("C:\\no\\such\\file.htm", "", "", SW_SHOW));
    EXPECT_FALSE(shell.open("C:\\no\\such\\program.exe", "", "", SW_SHOW, 0, "C:\\no\\such"));
}

// ---- power ---------------------------------------------------------------------------------

namespace {

std::filesystem::path modulePath(HMODULE m) {
    wchar_t buf[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(m, buf, MAX_PATH);
    return std::filesystem::path(std::wstring(buf, n));
}

std::filesystem::path systemFolder() {
    wchar_t buf[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(buf, MAX_PATH);
    return std::filesystem::path(std::wstring(buf, n));
}

bool sameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Whether the privilege is enabled in the process's token now.
bool privilegeEnabled(const wchar_t* name) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    const win32::UniqueHandle token(raw);
    LUID luid{};
    if (!LookupPrivilegeValueW(nullptr, name, &luid)) return false;
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenPrivileges, nullptr, 0, &size);
    std::string buffer(size, '\0');
    if (!GetTokenInformation(token.get(), TokenPrivileges, buffer.data(), size, &size)) return false;
    const auto* tp = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < tp->PrivilegeCount; ++i)
        if (tp->Privileges[i].Luid.LowPart == luid.LowPart && tp->Privileges[i].Luid.HighPart == luid.HighPart)
            return tp->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED;
    return false;
}

// The stand-in power library beside the test program while in scope.
struct PlantedLibrary {
    std::filesystem::path path;
    PlantedLibrary() {
        const std::filesystem::path exe = modulePath(nullptr);
        path = exe.parent_path() / L"powrprof.dll";
        planted = CopyFileW((exe.parent_path() / L"fake" / L"powrprof.dll").c_str(), path.c_str(), FALSE) != FALSE;
    }
    ~PlantedLibrary() { DeleteFileW(path.c_str()); }
    PlantedLibrary(const PlantedLibrary&) = delete;
    PlantedLibrary& operator=(const PlantedLibrary&) = delete;
    bool planted = false;
};

}  // namespace

// Never exitWindows here: under Wine it ends every process of the prefix.
TEST(Ports, PrivilegesAndStayingAwake) {
    win32::Win32Power power;
    EXPECT_TRUE(power.setPrivilege("SeShutdownPrivilege", true));
    EXPECT_TRUE(privilegeEnabled(L"SeShutdownPrivilege"));
    EXPECT_TRUE(power.setPrivilege("SeShutdownPrivilege", false));
    EXPECT_FALSE(privilegeEnabled(L"SeShutdownPrivilege"));
    EXPECT_FALSE(power.setPrivilege("SeNoSuchPrivilege", true));

    // The state asked for is read back as the previous one of the next call.
    power.keepAwake(true);
    EXPECT_EQ(DWORD(ES_CONTINUOUS | ES_SYSTEM_REQUIRED), SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED));
    power.keepAwake(false);
    EXPECT_EQ(DWORD(ES_CONTINUOUS), SetThreadExecutionState(ES_CONTINUOUS));
}

// A power library of the same name planted beside the program must not be
// the one loaded. (Wine runs its own code even then, but reports the module at
// the planted path: where the module came from is what tells.) The system's
// library answers, and does nothing under Wine.
TEST(Ports, PowerLibraryComesFromTheSystemFolderOnly) {
    const PlantedLibrary fake;
    ASSERT_TRUE(fake.planted);
    // What a look-up by bare name takes: the planted one.
    {
        const win32::UniqueLibrary byName(LoadLibraryW(L"powrprof.dll"));
        ASSERT_TRUE(byName);
        EXPECT_TRUE(sameFolder(modulePath(byName.get()).parent_path(), fake.path.parent_path()))
            << modulePath(byName.get());
    }
    ASSERT_EQ(nullptr, GetModuleHandleW(L"powrprof.dll"));

    win32::Win32Power power;
    EXPECT_TRUE(power.hibernationAllowed());
    EXPECT_TRUE(power.suspend(true, true, true));
    EXPECT_TRUE(power.suspend(false, false, false));  // the address found once serves again
    const HMODULE loaded = GetModuleHandleW(L"powrprof.dll");
    ASSERT_NE(nullptr, loaded);
    EXPECT_TRUE(sameFolder(modulePath(loaded).parent_path(), systemFolder())) << modulePath(loaded);
    EXPECT_EQ(nullptr, GetModuleHandleW(fake.path.c_str()));
}

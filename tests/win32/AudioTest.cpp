// The sound adapter against winmm: MCI replies, short paths, PlaySound.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "win32/Text.h"
#include "win32/Win32Audio.h"

namespace {

// A mono 16-bit PCM tone, header written by hand so the test needs no assets.
void writeWav(const std::wstring& file, int milliseconds) {
    const std::uint32_t rate = 8000;
    const std::uint32_t samples = rate * std::uint32_t(milliseconds) / 1000;
    const std::uint32_t dataBytes = samples * 2;
    std::vector<char> out;
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
    };
    auto tag = [&](const char* t) { out.insert(out.end(), t, t + 4); };
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);         // PCM
    put(1, 2);         // mono
    put(rate, 4);
    put(rate * 2, 4);  // bytes per second
    put(2, 2);         // block align
    put(16, 2);        // bits per sample
    tag("data");
    put(dataBytes, 4);
    for (std::uint32_t i = 0; i < samples; ++i)
        put(std::uint32_t(std::int16_t(8000 * std::sin(i * 2 * 3.14159265 * 440 / rate))) & 0xFFFF, 2);
    std::ofstream(std::filesystem::path(file), std::ios::binary).write(out.data(), std::streamsize(out.size()));
}

class Audio : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        ASSERT_NE(0u, GetTempPathW(MAX_PATH + 1, temp));
        dir_ = std::wstring(temp) + L"lumivo-audio-" + std::to_wstring(GetCurrentProcessId());
        for (const std::wstring& d : {dir_, dir_ + L"\\dir with blanks", dir_ + L"\\Звуки"})
            ASSERT_TRUE(CreateDirectoryW(d.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        plain_ = dir_ + L"\\tone.wav";
        spaced_ = dir_ + L"\\dir with blanks\\tone two.wav";
        cyrillic_ = dir_ + L"\\Звуки\\звук один.wav";
        for (const std::wstring& f : {plain_, spaced_, cyrillic_}) writeWav(f, 300);
    }
    void TearDown() override {
        audio_.mciSend("close all", false);
        for (const std::wstring& f : {plain_, spaced_, cyrillic_}) DeleteFileW(f.c_str());
        for (const std::wstring& d : {dir_ + L"\\dir with blanks", dir_ + L"\\Звуки", dir_})
            RemoveDirectoryW(d.c_str());
    }

    // What the reminder channel's 50 ms poll waits for.
    bool waitForMode(const std::string& alias, const std::string& mode, int timeoutMs) {
        for (int waited = 0; waited < timeoutMs; waited += 50) {
            const platform::MciResult r = audio_.mciSend("status " + alias + " mode", true);
            if (r.error == 0 && r.reply == mode) return true;
            Sleep(50);
        }
        return false;
    }

    win32::Win32Audio audio_;
    std::wstring dir_, plain_, spaced_, cyrillic_;
};

TEST_F(Audio, MciOpenStatusPlayAndCloseWithReplies) {
    ASSERT_EQ(0u, audio_.mciSend("open " + win32::narrow(plain_) + " alias mySndR", false).error);

    const platform::MciResult before = audio_.mciSend("status mySndR mode", true);
    EXPECT_EQ(0u, before.error);
    EXPECT_EQ("stopped", before.reply);

    EXPECT_EQ(0u, audio_.mciSend("play mySndR", false).error);  // returns at once
    EXPECT_TRUE(waitForMode("mySndR", "stopped", 5000));

    const platform::MciResult length = audio_.mciSend("status mySndR length", true);
    EXPECT_EQ(0u, length.error);
    EXPECT_FALSE(length.reply.empty());

    EXPECT_EQ(0u, audio_.mciSend("stop mySndR", false).error);
    EXPECT_EQ(0u, audio_.mciSend("close mySndR", false).error);

    // A failed query must never read as "stopped".
    const platform::MciResult gone = audio_.mciSend("status mySndR mode", true);
    EXPECT_NE(0u, gone.error);
    EXPECT_EQ("", gone.reply);
    EXPECT_NE(0u, audio_.mciSend("close mySndR", false).error);
}

TEST_F(Audio, PathWithBlanksOpensOnlyQuotedOrShort) {
    const std::string file = win32::narrow(spaced_);
    EXPECT_NE(0u, audio_.mciSend("open " + file + " alias spaced", false).error);
    audio_.mciSend("close spaced", false);

    ASSERT_EQ(0u, audio_.mciSend("open \"" + file + "\" alias spaced", false).error);
    EXPECT_EQ("stopped", audio_.mciSend("status spaced mode", true).reply);
    EXPECT_EQ(0u, audio_.mciSend("close spaced", false).error);

    const std::string shortName = audio_.shortPath(file);
    EXPECT_EQ(std::string::npos, shortName.find(' ')) << shortName;
    ASSERT_EQ(0u, audio_.mciSend("open " + shortName + " alias short", false).error) << shortName;
    EXPECT_EQ(0u, audio_.mciSend("close short", false).error);
}

// MCI opens files through the ANSI code page: a Cyrillic name only opens in
// its short form unless that code page happens to be Cyrillic.
TEST_F(Audio, ShortPathOpensNamesOutsideTheAnsiCodePage) {
    const std::string shortName = audio_.shortPath(win32::narrow(cyrillic_));
    ASSERT_EQ(0u, audio_.mciSend("open " + shortName + " alias cyr", false).error) << shortName;
    EXPECT_EQ("stopped", audio_.mciSend("status cyr mode", true).reply);
    EXPECT_EQ(0u, audio_.mciSend("close cyr", false).error);
}

TEST_F(Audio, ShortPathOfAMissingFileIsThePathItself) {
    const std::string missing = win32::narrow(dir_) + "\\dir with blanks\\нет такого файла.wav";
    EXPECT_EQ(missing, audio_.shortPath(missing));
    EXPECT_EQ("", audio_.shortPath(""));
}

TEST_F(Audio, ShortPathBeyondTheUsualBufferIsNotCutOff) {
    // Parts that are already 8.3 names keep their length in the short form.
    std::wstring deep = L"\\\\?\\" + dir_;
    std::vector<std::wstring> made;
    for (int i = 0; deep.size() < 640; ++i) {
        deep += L"\\d" + std::to_wstring(1000000 + i);
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        made.push_back(deep);
    }
    const std::wstring file = deep + L"\\tone.wav";
    writeWav(file, 50);
    const std::string shortName = audio_.shortPath(win32::narrow(file));
    EXPECT_GT(shortName.size(), 512u);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(win32::widen(shortName).c_str())) << shortName;
    DeleteFileW(file.c_str());
    for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW(it->c_str());
}

TEST_F(Audio, PlaySoundPlaysFilesWhateverTheirNames) {
    EXPECT_TRUE(audio_.playSound(win32::narrow(plain_)));
    EXPECT_TRUE(audio_.playSound(win32::narrow(spaced_)));  // no quoting here
    EXPECT_TRUE(audio_.playSound(win32::narrow(cyrillic_)));
    audio_.messageBeep(platform::kBeepExclamation);
}

}  // namespace

// The reminder sound channel on the real multimedia layer: the 50 ms poll sees
// the file end and closes the alias by itself.
#include "app/App.h"
#include "sound/ReminderSound.h"
#include "win32/Win32Ports.h"
#include "win32/Win32Registry.h"
#include "win32/Win32Ui.h"

TEST_F(Audio, ReminderChannelClosesItselfWhenTheFileEnds) {
    win32::Win32Clock clock;
    win32::Win32Registry registry;
    win32::Win32Shell shell;
    win32::Win32Power power;
    win32::Win32System system;
    win32::Win32Mail mail;
    win32::Win32Ui ui(GetModuleHandleW(nullptr));
    app::App app({clock, registry, audio_, shell, power, system, mail, ui});
    app.choosePaths();
    app.reminderSound.Start(win32::narrow(spaced_), false);
    ASSERT_TRUE(app.sound.ReminderSoundPath.has_value());
    ASSERT_FALSE(app.sound.ReminderSoundPath->empty());
    EXPECT_EQ(0u, audio_.mciSend("status mySndR mode", true).error) << "opened, blanks and all";
    for (int i = 0; i < 200 && !app.sound.ReminderSoundPath->empty(); ++i) {
        app.reminderSound.TimerMySndTimer();
        Sleep(50);
    }
    EXPECT_EQ(*app.sound.ReminderSoundPath, "") << "the poll saw the end";
    EXPECT_NE(0u, audio_.mciSend("status mySndR mode", true).error) << "and closed the alias";
    EXPECT_FALSE(app.err.ErrorWindowOpen);
}

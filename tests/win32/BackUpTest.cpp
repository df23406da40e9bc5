// Backup files through the real registry and file system: a round trip of a
// hundred reminders with its times, and a file another program holds open.
// Message boxes are answered here instead of being shown.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "app/App.h"
#include "platform/Path.h"
#include "reminders/Store.h"
#include "win32/Handles.h"
#include "win32/Machine.h"

namespace {

namespace fs = std::filesystem;

struct Boxes final : ui::Ui {
    std::vector<std::string> texts;
    void realize(ui::Form&) override {}
    void showModal(ui::Form&) override {}
    int messageBox(const std::string& text, const std::string&, unsigned) override {
        texts.push_back(text);
        return ui::kIdYes;
    }
    int ownedMessageBox(ui::Form&, const std::string& text, const std::string& caption, unsigned flags) override {
        return messageBox(text, caption, flags);
    }
    ui::Bitmap loadPicture(const std::string&) override { return ui::Bitmap(1, 1, ui::kBlack); }
    std::optional<std::string> openFile(const ui::OpenFileDialog&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const ui::SaveFileDialog&) override { return std::nullopt; }
    std::optional<ui::Font> chooseFont(const ui::FontDialog&) override { return std::nullopt; }
    std::optional<ui::Color> chooseColor(ui::Color, platform::WindowId) override { return std::nullopt; }
    void setMainForm(ui::Form&) override {}
    int run() override { return 0; }
    void terminate() override {}
    bool terminated() override { return false; }
    void minimizeApp() override {}
    void restoreApp() override {}
    void hideAppTaskbarWindow() override {}
    void cursorPos(int& x, int& y) override { x = y = 0; }
};

struct Silence final : platform::Audio {
    void messageBeep(unsigned) override {}
    bool playSound(const std::string&) override { return true; }
    platform::MciResult mciSend(const std::string&, bool) override { return {}; }
    std::string shortPath(const std::string& p) override { return p; }
};

struct View final : settings::BackUpView {
    void showSettings(const settings::Settings&) override {}
    void listReminds() override {}
    void markChanged() override {}
    void showLastBackUp(const std::string&) override {}
};

struct Program {
    win32::Machine machine{GetModuleHandleW(nullptr)};
    Boxes boxes;
    Silence silence;
    app::App app{{machine.clock, machine.registry, silence, machine.shell, machine.power, machine.system,
                  machine.mail, boxes}};
    View view;
    fs::path dir = fs::temp_directory_path() / (L"lumivo-backup-" + std::to_wstring(GetCurrentProcessId()));
    fs::path file = dir / L"Резервная копия.SetLMV";

    Program() {
        fs::remove_all(dir);
        fs::create_directories(dir);
        app.choosePaths();
        app.backUp.BackUpFileName = platform::u8string(file);
        machine.registry.deleteKeyTree(platform::Hive::CurrentUser, reminders::kRemindKey);
    }
    ~Program() {
        machine.registry.deleteKeyTree(platform::Hive::CurrentUser, reminders::kRemindKey);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string bytes() const {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

}  // namespace

TEST(BackUp, AHundredRemindersThereAndBackWithTheirTimes) {
    Program p;
    platform::Registry& reg = p.machine.registry;
    for (int n = 1; n <= 100; ++n) {
        const std::string key = reminders::RemindKeyOf(n);
        reg.writeString(platform::Hive::CurrentUser, key, "Name", "Напоминание " + std::to_string(n));
        reg.writeDword(platform::Hive::CurrentUser, key, "RemindEnabled", 1);
        reg.writeString(platform::Hive::CurrentUser, key, "TimeH", std::to_string(n % 24));
        reg.writeString(platform::Hive::CurrentUser, key, "TimeM", std::to_string(n % 60));
        reg.writeString(platform::Hive::CurrentUser, key, "MsgText", "Строка\r\nвторая");
        reg.writeDword(platform::Hive::CurrentUser, key, "MD3", 0);
    }
    reg.writeDword(platform::Hive::CurrentUser, reminders::kRemindKey, "RemindCount", 100);

    const auto best = [](auto&& run) {
        double ms = 1e9;
        for (int i = 0; i < 3; ++i) {
            const auto start = std::chrono::steady_clock::now();
            run();
            ms = std::min(ms, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        return ms;
    };
    const double write = best([&] { p.app.backUp.WriteBackUpFile(p.view); });
    const std::string written = p.bytes();
    reg.writeString(platform::Hive::CurrentUser, reminders::RemindKeyOf(5), "Name", "changed");
    // Over the hundred stored: kept in memory, deleted and written anew.
    const double read = best([&] { p.app.backUp.ReadBackUpFile(p.view); });
    std::cout << "[ timing   ] under Wine, 100 reminders in the registry, " << written.size() << " bytes: written in "
              << write << " ms, read in " << read << " ms\n";

    EXPECT_FALSE(written.starts_with("\xEF\xBB\xBF")) << "Windows-1251";
    EXPECT_NE(written.find("Name=\xCD\xE0\xEF\xEE\xEC\xE8\xED\xE0\xED\xE8\xE5 100\r\n"), std::string::npos);
    EXPECT_EQ(p.bytes(), written) << "a load without repairs writes nothing";
    EXPECT_EQ(p.boxes.texts.back(), " Данные загружены успешно.  ");
    EXPECT_EQ(reg.read(platform::Hive::CurrentUser, reminders::RemindKeyOf(100), "MsgText").text, "Строка\r\nвторая");
    EXPECT_EQ(reg.read(platform::Hive::CurrentUser, reminders::RemindKeyOf(5), "Name").text, "Напоминание 5");
    EXPECT_EQ(reg.read(platform::Hive::CurrentUser, reminders::RemindKeyOf(7), "MD3").type,
              platform::RegValue::Type::Dword);
    EXPECT_EQ(reg.read(platform::Hive::CurrentUser, reminders::kRemindKey, "RemindCount").dword, 100);
    EXPECT_LT(write, 1000.0);
    EXPECT_LT(read, 1000.0);
}

TEST(BackUp, AFileAnotherProgramHoldsIsNeitherReadNorLost) {
    Program p;
    p.app.backUp.WriteBackUpFile(p.view);
    const std::string before = p.bytes();
    ASSERT_FALSE(before.empty());
    {
        const win32::UniqueHandle held(CreateFileW(p.file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
        p.app.backUp.ReadBackUpFile(p.view);
        EXPECT_EQ(p.boxes.texts.back(), "Не удалось прочитать файл: он занят другой программой, удален или недоступен.");
        p.app.settings.AlphaSet = 120;
        p.app.backUp.WriteBackUpFile(p.view);
    }
    EXPECT_EQ(p.bytes(), before) << "the save failed whole";
    std::ifstream log(p.app.guard.logFile());
    const std::string logged(std::istreambuf_iterator<char>(log), {});
    EXPECT_NE(logged.find("0.012 - 002.1"), std::string::npos) << "a failed save is a fault; a held file to read is not";
    EXPECT_EQ(logged.find("0.012 - 001."), std::string::npos);
    for (const auto& e : fs::directory_iterator(p.dir)) EXPECT_EQ(e.path(), p.file) << "nothing left beside it";
}

#pragma once
// Test doubles of the platform ports and the window system.
#include <chrono>
#include <ctime>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>
#include "app/App.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Mail.h"
#include "platform/Power.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "ui/Ui.h"

namespace fakes {

// This thread's processor time in seconds: timing tests measure it, so that
// another program's load on the machine does not decide them.
inline double threadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Local time as a count of milliseconds, settable and advanced by tests.
class FakeClock : public platform::Clock {
public:
    void set(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0);
    void advance(std::int64_t ms) { now_ += std::chrono::milliseconds(ms); }
    std::int64_t millis() const { return now_.time_since_epoch().count(); }
    platform::LocalTime now() override;

private:
    std::chrono::sys_time<std::chrono::milliseconds> now_{};
};

class FakeRegistry : public platform::Registry {
public:
    using Hive = platform::Hive;
    bool denyLocalMachine = false;   // writes under HKLM fail, as for a limited user
    bool denyCurrentUser = false;    // writes under HKCU fail too (a broken profile)
    std::map<std::tuple<Hive, std::string, std::string>, platform::RegValue> values;
    std::set<std::pair<Hive, std::string>> keys;   // lower-case paths
    std::vector<std::string> writes;               // "path\\name" of every write, in order
    std::vector<std::string> reads;                // "path\\name" of every read, in order
    std::size_t calls = 0;                         // every call of the port, helpers excluded
    // Fails the write (or delete, copy) that would be number `failAt` from now
    // on (1 = the next): a crash half-way through an operation.
    int failAt = 0;
    // Fails the read that would be number `failReadAt` from now on.
    int failReadAt = 0;

    bool keyExists(Hive, const std::string& path) override;
    platform::RegValue read(Hive, const std::string& path, const std::string& name) override;
    void writeDword(Hive, const std::string& path, const std::string& name, std::int32_t) override;
    void writeString(Hive, const std::string& path, const std::string& name, const std::string&) override;
    void createKey(Hive, const std::string& path) override;
    bool deleteValue(Hive, const std::string& path, const std::string& name) override;
    bool deleteKeyTree(Hive, const std::string& path) override;
    bool copyKeyTree(Hive, const std::string& from, const std::string& to) override;
    // Names come back in lower case, as the fake keeps them.
    std::optional<platform::RegValues> readAll(Hive, const std::string& path) override;
    // Each value a write of its own, for failAt.
    void writeAll(Hive, const std::string& path, const platform::RegValues& values) override;

    // Test helpers: store any value type without going through the program.
    void put(Hive, const std::string& path, const std::string& name, platform::RegValue);
    void putDword(const std::string& path, const std::string& name, std::int32_t v);
    void putString(const std::string& path, const std::string& name, const std::string& v);
    void putBinary(const std::string& path, const std::string& name);
    std::optional<std::int32_t> dword(const std::string& path, const std::string& name, Hive = Hive::CurrentUser);
    std::optional<std::string> string(const std::string& path, const std::string& name, Hive = Hive::CurrentUser);
    static std::string norm(std::string path);

private:
    void check(Hive h);
    void addKey(Hive h, const std::string& path);
    platform::RegValue lookup(Hive h, const std::string& path, const std::string& name);
};

class FakeAudio : public platform::Audio {
public:
    std::vector<unsigned> beeps;
    std::vector<std::string> played;        // playSound paths
    std::vector<std::string> mci;           // commands sent
    std::deque<std::string> statusReplies;  // answers to "status ..." commands, in order
    std::string defaultStatus = "playing";
    bool playResult = true;
    std::function<void()> onPlay;           // runs while a sound "plays"
    std::string failMci;                    // commands starting with this fail
    std::string refuseMci;                  // commands starting with this answer an error
    // Hears each beep ("beep 48") and MCI command as it is made.
    std::function<void(const std::string&)> onCall;

    void messageBeep(unsigned type) override {
        beeps.push_back(type);
        if (onCall) onCall("beep " + std::to_string(type));
    }
    bool playSound(const std::string& path) override;
    platform::MciResult mciSend(const std::string& command, bool wantReply) override;
    std::string shortPath(const std::string& path) override { return path; }
};

class FakeShell : public platform::Shell {
public:
    struct Call { std::string target, verb, params; int show; platform::WindowId owner; std::string folder; };
    std::vector<Call> calls;
    bool result = true;
    bool open(const std::string& target, const std::string& verb, const std::string& params, int show,
              platform::WindowId owner, const std::string& folder) override {
        calls.push_back({target, verb, params, show, owner, folder});
        return result;
    }
};

class FakePower : public platform::Power {
public:
    std::vector<std::string> calls;   // in order: "privilege on", "exit 5", "suspend", "awake on"...
    bool hibernate = true;
    bool suspendResult = true;         // false: the system refuses to hibernate
    unsigned exitError = 0;            // what the system answers an exit request
    std::function<void()> onExit, onSuspend;
    bool setPrivilege(const std::string& name, bool enable) override {
        calls.push_back(std::string(name == "SeShutdownPrivilege" ? "privilege" : name) + (enable ? " on" : " off"));
        return true;
    }
    unsigned exitWindows(unsigned flags) override {
        calls.push_back("exit " + std::to_string(flags));
        if (onExit) onExit();
        return exitError;
    }
    bool hibernationAllowed() override { calls.push_back("hibernation?"); return hibernate; }
    bool suspend(bool h, bool f, bool d) override {
        calls.push_back(h && f && d ? "suspend" : "suspend?");
        if (onSuspend) onSuspend();
        return suspendResult;
    }
    void keepAwake(bool on) override { calls.push_back(on ? "awake on" : "awake off"); }
};

class FakeSystem : public platform::System {
public:
    platform::OsVersion os{10, 0, 19045, 2};
    std::string user = "tester", computer = "PC1";
    bool userFails = false, computerFails = false;  // the system cannot answer
    std::filesystem::path exe, localData;
    std::string separator = ":";
    std::map<int, std::int16_t> keys;
    std::map<std::pair<std::string, std::string>, platform::WindowId> windows;
    struct Sent { platform::WindowId to; unsigned msg; };
    std::vector<Sent> sent;
    std::vector<platform::WindowId> broughtToFront, foregrounded;

    platform::OsVersion version() override { return os; }
    std::string userName() override;
    std::string computerName() override;
    std::filesystem::path programFile() override { return exe; }
    std::filesystem::path localAppData() override { return localData; }
    std::string timeSeparator() override { return separator; }
    std::string longDate(const platform::LocalTime& t) override;
    std::string dateSep = ".";
    // "dd.mm.yyyy" with dateSep.
    std::string shortDate(const platform::LocalTime& t) override;
    std::string dateSeparator() override { return dateSep; }
    // As the system's move: refused onto a read-only file, or when `refuseReplace`.
    bool refuseReplace = false;
    int replaced = 0;
    bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) override;
    // As the real call: the low bit ("pressed since the last query") is gone once read.
    std::int16_t asyncKeyState(int vk) override {
        auto it = keys.find(vk);
        if (it == keys.end()) return 0;
        const std::int16_t state = it->second;
        it->second = std::int16_t(state & ~1);
        return state;
    }
    platform::WindowId findWindow(const std::string& cls, const std::string& caption) override {
        auto it = windows.find({cls, caption});
        return it == windows.end() ? 0 : it->second;
    }
    std::intptr_t sendMessage(platform::WindowId to, unsigned msg, std::uintptr_t, std::intptr_t) override {
        sent.push_back({to, msg});
        return 0;
    }
    unsigned registerWindowMessage(const std::string&) override { return 0xC001; }
    void bringToFront(platform::WindowId w) override { broughtToFront.push_back(w); }
    void setForeground(platform::WindowId w) override { foregrounded.push_back(w); }
};

class FakeMail : public platform::Mail {
public:
    std::vector<platform::MailMessage> sent;
    bool present = true;  // false: no mail program on the machine
    std::function<void()> during;  // runs while the mail dialog is open
    bool send(const platform::MailMessage& m) override {
        sent.push_back(m);
        if (during) during();
        return present;
    }
};

// Stands in for a real window: records what the logic asked of the window system.
class FakePeer : public ui::FormPeer {
public:
    explicit FakePeer(ui::Form& f, platform::WindowId id) : form_(f), id_(id) {}
    std::vector<std::string> tray_;        // "add" / "delete", in order
    int regions = 0;
    std::vector<ui::Rect> lastRegion;
    std::vector<std::vector<std::string>> popups;  // visible item names of each opened menu
    bool shown = false;
    // On screen: shown, and not taken away with the rest of the program by minimizeApp.
    bool onScreen = false;
    int destroyed = 0;
    std::function<void(unsigned)> posting;  // the window system's queue
    std::function<void(ui::PopupMenu&)> choosing;  // the user, while a menu is open
    std::function<void()> gone;             // told once, at the first destroy

    void formChanged(ui::Prop) override {}
    void controlChanged(ui::Control&, ui::Prop) override {}
    void timerChanged(ui::Timer&) override {}
    void show() override { shown = onScreen = true; }
    void hide() override { shown = onScreen = false; }
    void closed() override { shown = onScreen = false; }
    void destroy() override {
        if (++destroyed == 1 && gone) gone();
    }
    void post(unsigned msg) override {
        if (posting) posting(msg);
    }
    ui::Size measureText(const ui::Font& f, const std::string& text) override;
    ui::Bitmap captureClient() override { return ui::Bitmap(form_.bounds().width, form_.bounds().height); }
    void setRegion(const std::vector<ui::Rect>* rects) override {
        ++regions;
        lastRegion = rects ? *rects : std::vector<ui::Rect>{};
    }
    bool tray(bool add, const ui::TrayIconData&) override {
        tray_.push_back(add ? "add" : "delete");
        return true;
    }
    platform::WindowId handle() override { return id_; }
    void popup(ui::PopupMenu& m, int, int) override;
    void focus(ui::Control& c) override { focused = &c; }
    void bringToFront() override { ++raised; }
    int raised = 0;
    bool balloon(const ui::TrayIconData&, const std::string& title, const std::string& text) override {
        balloons.push_back(title + ": " + text);
        return true;
    }
    ui::Control* focused = nullptr;
    std::vector<std::string> balloons;

private:
    ui::Form& form_;
    platform::WindowId id_;
};

// Window system without windows: forms run their handlers; modal windows are
// driven by `onModal`, message boxes answered from `answers`.
class FakeUi : public ui::Ui {
public:
    std::map<const ui::Form*, std::unique_ptr<FakePeer>> peers;
    FakePeer& peer(const ui::Form& f) { return *peers.at(&f); }

    struct Box { std::string text, caption; unsigned flags; const ui::Form* owner = nullptr; };
    std::vector<Box> boxes;
    std::deque<int> answers;                        // next message-box results (default IDOK)
    std::function<void()> onBox;                    // runs as a message box opens (it may fail)
    std::set<std::string> failRealize;              // window classes whose windows cannot be made
    std::function<void(ui::Form&)> onModal;         // acts inside a modal window
    std::function<void(ui::PopupMenu&)> onMenu;     // acts while a popup menu is open
    std::vector<std::string> modalForms;            // class names, in order opened
    bool terminated_ = false;
    int minimized = 0, restored = 0, taskbarHidden = 0;
    // The windows that exist now (made, not yet destroyed), in order made.
    std::vector<ui::Form*> live;
    // The modal windows open now, innermost last; the message boxes open now.
    std::vector<ui::Form*> modalStack;
    int boxesOpen = 0;
    // Messages posted to the forms, waiting for the message loop.
    std::deque<std::pair<ui::Form*, unsigned>> posted;
    // Delivers the waiting messages, as the message loop does between handlers.
    void deliverPosted();

    void realize(ui::Form& f) override;
    void showModal(ui::Form& f) override;
    int messageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    int ownedMessageBox(ui::Form& owner, const std::string& text, const std::string& caption,
                        unsigned flags) override;
    ui::Bitmap loadPicture(const std::string&) override { return ui::Bitmap(300, 150, ui::kRed); }
    // The files the user tries in the next file dialog, in order: the first
    // one the dialog lets close is its answer; when it takes none, the user cancels.
    std::vector<std::string> fileTries;
    std::vector<ui::OpenFileDialog> fileDialogs;    // every dialog opened
    std::vector<ui::SaveFileDialog> saveDialogs;
    std::optional<std::string> openFile(const ui::OpenFileDialog& d) override;
    std::optional<std::string> saveFile(const ui::SaveFileDialog& d) override;
    // The user in the font dialog (it may press Apply); no script: cancelled.
    std::function<std::optional<ui::Font>(const ui::FontDialog&)> onFont;
    std::vector<ui::FontDialog> fontDialogs;
    std::optional<ui::Font> chooseFont(const ui::FontDialog& d) override {
        fontDialogs.push_back(d);
        return onFont ? onFont(d) : std::nullopt;
    }
    // The colour the user picks in the next colour dialog; none: cancelled.
    std::optional<ui::Color> colorAnswer;
    std::vector<ui::Color> colorDialogs;            // the colour each one started from
    std::optional<ui::Color> chooseColor(ui::Color initial, platform::WindowId) override {
        colorDialogs.push_back(initial);
        return std::exchange(colorAnswer, std::nullopt);
    }
    void setMainForm(ui::Form&) override {}
    int run() override { return 0; }
    void terminate() override { terminated_ = true; }
    bool terminated() override { return terminated_; }
    void minimizeApp() override;
    void restoreApp() override;
    void hideAppTaskbarWindow() override { ++taskbarHidden; }
    void cursorPos(int& x, int& y) override { x = 100; y = 100; }
    std::vector<ui::Monitor> screens;               // what monitors() reports
    std::vector<ui::Monitor> monitors() override { return screens; }

private:
    std::vector<const ui::Form*> hiddenByMinimize_;
};

// A fresh program with fakes and its own program folder.
struct TestApp {
    // `portable`: the program's folder holds the portable marker, and its
    // registry port is the portable store (over `registry`).
    explicit TestApp(bool portable = false);
    ~TestApp();
    FakeClock clock;
    FakeRegistry registry;
    FakeAudio audio;
    FakeShell shell;
    FakePower power;
    FakeSystem system;
    FakeMail mail;
    FakeUi ui;
    std::filesystem::path dir;
    settings::PortableStore store{registry, system};
    app::App app;
};

// The error records written so far, each as its code and failure class:
// "0.013 - 006.0 ConversionError".
std::vector<std::string> LoggedCodes(const app::App& app);

// Fires the enabled timers of the given forms in simulated time, as a
// window system would: each after its interval (10 ms at the least).
class Scheduler {
public:
    // With `ui`, the messages posted by a timer's handler are delivered after it.
    explicit Scheduler(FakeClock& clock, FakeUi* ui = nullptr) : clock_(clock), ui_(ui) {}
    void watch(ui::Form& f) { forms_.push_back(&f); }
    void run(std::int64_t ms);
    std::int64_t fired(const std::string& timerName) const;
    // After the clock was set or slept: every timer counts again from now.
    void restart() { tracks_.clear(); }

private:
    struct Track { unsigned generation; std::int64_t due; std::int64_t count = 0; };
    FakeClock& clock_;
    FakeUi* ui_;
    std::vector<ui::Form*> forms_;
    std::map<ui::Timer*, Track> tracks_;
};

}  // namespace fakes

#pragma once
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include "core/Paths.h"
#include "core/Session.h"
#include "errors/Codes.h"
#include "errors/Dump.h"
#include "errors/State.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Mail.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "ui/Ui.h"

namespace errors {

// The clock window as the error window's restart reaches it: the new copy
// finds this one by its caption. Unset pieces stand for "no clock window".
struct ClockLink {
    std::function<std::string()> caption;
    std::function<void(const std::string&)> setCaption;
    std::function<platform::WindowId()> window;
};

// Runs every handler and worker routine: sets ErrorStep, catches every
// failure, appends its record to Error\Debug.Log and shows the error window.
class Guard {
public:
    struct Ports {
        platform::Clock& clock;
        platform::System& system;
        platform::Audio& audio;
        ui::Ui& ui;
        platform::Shell& shell;
        platform::Mail& mail;
    };
    Guard(Ports ports, const core::Paths& paths, core::Session& session, ErrorState& state);

    // Runs `body` under `code`; on a failure reports it with the dump that
    // `dump` builds then and there. The step of an enclosing routine is back
    // afterwards, so its own failures carry its own step. False on failure.
    template <class Body, class DumpOf = std::nullptr_t>
    bool operator()(const Code& code, Body&& body, DumpOf&& dump = nullptr) {
        const Scope scope(state_, code.firstStep);
        try {
            body();
            return true;
        } catch (...) {
            std::string text;
            if constexpr (!std::is_same_v<std::decay_t<DumpOf>, std::nullptr_t>) text = dumpText(dump);
            failed(code, std::current_exception(), text);
            return false;
        }
    }

    // While one lives, a failure is written to the log at once and its window
    // waits until the last one ends: a tick or a system event first finishes
    // its work for every subsystem. One window shows for what failed meanwhile.
    class Held {
    public:
        explicit Held(Guard& g) : guard_(g) { ++g.held_; }
        ~Held() {
            if (--guard_.held_ == 0) guard_.showHeld();
        }
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

    private:
        Guard& guard_;
    };

    void step(int s) { state_.ErrorStep = s; }
    int step() const { return state_.ErrorStep; }

    // A record and the error window, for a failure found without an exception
    // reaching a guard. Nothing happens while an error window is open.
    void report(const std::string& code, const std::string& className, const std::string& dump);
    // While the error window is up, reports are dropped.
    bool windowOpen() const { return state_.ErrorWindowOpen; }
    // A record only: for a start-up that failed before any window could show,
    // and for the session's end. A message box tells the code when the log
    // cannot be written.
    void record(const std::string& code, const std::string& className, const std::string& dump);
    // A dated line in the log, for what went wrong where no window can tell
    // it; in a message box when the log cannot be written.
    void note(const std::string& line);
    std::filesystem::path logFile() const;
    std::filesystem::path sentLogFile() const;
    // Given by the program once its clock window exists.
    ClockLink clock;
    // Set as the Windows session ends: failures are recorded, no window shows.
    bool windowsGone = false;

    // The name a record gives a failure: our own failures' names, else the runtime's.
    static std::string classNameOf(std::exception_ptr);

private:
    class Scope {
    public:
        Scope(ErrorState& s, int first) : state_(s), outer_(s.ErrorStep) {
            if (first != Keep) s.ErrorStep = first;
        }
        ~Scope() { state_.ErrorStep = outer_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        ErrorState& state_;
        int outer_;
    };

    template <class DumpOf>
    static std::string dumpText(DumpOf& dump) {
        try {
            return dump().text();
        } catch (...) {
            return {};  // a dump that fails must not hide the failure it describes
        }
    }
    void failed(const Code& code, std::exception_ptr failure, const std::string& dump);
    std::string fields(const std::string& code, const std::string& className, const std::string& dump);
    std::string nameOf(std::string (platform::System::*query)(), const Code& code);
    bool append(const std::string& record);  // false: no log could be written
    void tellUnlogged(const std::string& text);
    static std::string windowLine(const std::string& code, const std::string& className);
    void showWindow(const std::string& code, const std::string& className);
    void showHeld() noexcept;

    Ports ports_;
    const core::Paths& paths_;
    core::Session& session_;
    ErrorState& state_;
    bool namingFailed_ = false;
    int held_ = 0;
    std::optional<std::pair<std::string, std::string>> heldWindow_;  // code, class name
    // The log as the last append left it: unchanged since, it needs no new
    // look at its encoding (a look that would grow with the log each time).
    std::optional<std::pair<std::uintmax_t, std::filesystem::file_time_type>> logLeft_;
};

}  // namespace errors

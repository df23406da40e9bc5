#include "errors/Guard.h"
#include <cstdio>
#include <fstream>
#include <system_error>
#include <typeinfo>
#include "errors/ErrorLog.h"
#include "errors/ErrorWindow.h"
#include "platform/Failure.h"
#include "platform/Path.h"
#if defined(__GNUC__)
#include <cxxabi.h>
#include <cstdlib>
#endif

namespace errors {

namespace fs = std::filesystem;

namespace {

std::string demangled(const std::type_info& t) {
#if defined(__GNUC__)
    int status = 0;
    char* n = abi::__cxa_demangle(t.name(), nullptr, nullptr, &status);
    if (status == 0 && n) {
        std::string s = n;
        std::free(n);
        return s;
    }
#endif
    return t.name();
}

// Whether the file holds UTF-8 only; a file that cannot be read is taken as
// it is (the write will tell).
bool utf8File(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return true;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return IsUtf8(text);
}

// Under the first free name that says what it holds: the older copies wrote
// in the code page of a Russian system.
bool moveAside(const fs::path& log) {
    for (int n = 1; n <= 100; ++n) {
        const fs::path aside =
            log.parent_path() /
            (n == 1 ? std::string("Debug.Windows-1251.Log") : "Debug.Windows-1251 (" + std::to_string(n) + ").Log");
        std::error_code ec;
        if (fs::exists(aside, ec) || ec) continue;
        fs::rename(log, aside, ec);
        return !ec;
    }
    return false;
}

}  // namespace

Guard::Guard(Ports ports, const core::Paths& paths, core::Session& session, ErrorState& state)
    : ports_(ports), paths_(paths), session_(session), state_(state) {}

std::string Guard::classNameOf(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const platform::Failure& f) {
        return f.className();
    } catch (const std::exception& e) {
        return demangled(typeid(e));
    } catch (...) {
        return "UnknownFailure";
    }
}

void Guard::failed(const Code& code, std::exception_ptr failure, const std::string& dump) {
    report(errorCode(code, state_.ErrorStep), classNameOf(failure), dump);
}

fs::path Guard::logFile() const { return paths_.errorDir() / "Debug.Log"; }
fs::path Guard::sentLogFile() const { return paths_.errorDir() / "SendingDebug.Log"; }

// A name the system cannot give reads "n/a"; the failure to give it is a
// failure of its own, reported once (the record of that report does not ask again).
std::string Guard::nameOf(std::string (platform::System::*query)(), const Code& code) {
    if (namingFailed_) return "n/a";
    try {
        std::string n = (ports_.system.*query)();
        return n.empty() ? "n/a" : n;
    } catch (...) {
        const std::string className = classNameOf(std::current_exception());
        namingFailed_ = true;
        {
            const Scope scope(state_, code.firstStep);
            report(errorCode(code, state_.ErrorStep), className, "");
        }
        namingFailed_ = false;
        return "n/a";
    }
}

std::string Guard::fields(const std::string& code, const std::string& className, const std::string& dump) {
    RecordFields r;
    try {
        r.time = ports_.clock.now();
    } catch (...) {
    }
    r.LMVName = session_.LMVName;
    r.LMVVersion = session_.LMVVersion;
    r.LMVVersionName = session_.LMVVersionName;
    r.WinV = session_.WinV;
    r.user = nameOf(&platform::System::userName, code::UserName);
    r.computer = nameOf(&platform::System::computerName, code::ComputerName);
    r.code = code;
    r.className = className;
    r.dump = dump;
    return formatRecord(r);
}

// The record goes onto the end of the existing log in place: a crash part-way
// loses at most this record, never the log. The log is UTF-8 and nothing
// else: one that an older copy wrote in Windows-1251 is moved aside whole and
// a new one begun. It has no byte-order mark: its first line is a record's
// first line like any other, for whoever splits the log at them, and the
// program knows the encoding without one.
bool Guard::append(const std::string& record) {
    try {
        std::error_code ec;
        fs::create_directories(paths_.errorDir(), ec);
        const fs::path file = logFile();
        const auto state = [&] { return std::pair(fs::file_size(file, ec), fs::last_write_time(file, ec)); };
        if (fs::exists(file, ec) && logLeft_ != state() && !utf8File(file) && !moveAside(file)) return false;
        std::ofstream out(file, std::ios::binary | std::ios::app);
        out << record;
        out.close();
        if (out.fail()) return false;
        logLeft_ = state();
        return true;
    } catch (...) {
        return false;  // a log that cannot be written must not take the program down
    }
}

// Where no error window follows, a message box is the only trace left of a
// record that could not be written.
void Guard::tellUnlogged(const std::string& text) {
    if (state_.ErrorWindowOpen) return;  // a window or box is already saying something
    const core::ModalCount counted(session_);
    state_.ErrorWindowOpen = true;
    try {
        ports_.ui.messageBox(text + "\r\n\r\nЗаписать это в журнал ошибок " + platform::u8string(logFile()) +
                                 " не удалось.",
                             "Ошибка...", ui::kMbIconHand | ui::kMbSystemModal);
    } catch (...) {
    }
    state_.ErrorWindowOpen = false;
}

void Guard::report(const std::string& code, const std::string& className, const std::string& dump) {
    if (windowsGone) {
        record(code, className, dump);
        return;
    }
    if (state_.ErrorWindowOpen) return;
    append(fields(code, className, dump));  // the window shows the code, written or not
    if (held_ == 0) showWindow(code, className);
    else if (!heldWindow_) heldWindow_.emplace(code, className);  // one window stands for what fails meanwhile
}

void Guard::showHeld() noexcept {
    if (!heldWindow_) return;
    const std::pair<std::string, std::string> held = std::move(*heldWindow_);
    heldWindow_.reset();
    try {
        if (!windowsGone) showWindow(held.first, held.second);
    } catch (...) {
    }
}

void Guard::note(const std::string& line) {
    platform::LocalTime when;
    try {
        when = ports_.clock.now();
    } catch (...) {
    }
    if (!append(formatNote(when, line))) tellUnlogged(line);
}

void Guard::record(const std::string& code, const std::string& className, const std::string& dump) {
    if (!append(fields(code, className, dump))) tellUnlogged(windowLine(code, className));
}

std::string Guard::windowLine(const std::string& code, const std::string& className) {
    return "Внутренний код ошибки: " + code + "[" + className + "]";
}

// Without its window the user would learn nothing: a plain message box with
// the code then stands in for it.
void Guard::showWindow(const std::string& code, const std::string& className) {
    const std::string line = windowLine(code, className);
    bool closed = false;
    try {
        ErrorWindow w({ports_.ui, ports_.audio, ports_.shell, ports_.mail, ports_.system}, *this, state_, session_,
                      paths_);
        closed = w.open(line);
    } catch (...) {
    }
    if (closed) return;
    // The box stands in for the window: counted as it, and failures meanwhile
    // are dropped as they would be.
    const core::ModalCount counted(session_);
    state_.ErrorWindowOpen = true;
    try {
        ports_.ui.messageBox(line, "Ошибка...", ui::kMbIconHand | ui::kMbSystemModal);
    } catch (...) {
    }
    state_.ErrorWindowOpen = false;
}

}  // namespace errors

#include "errors/Guard.h"
#include <cstdio>
#include <fstream>
#include <system_error>
#include <typeinfo>
#include "errors/ErrorLog.h"
#include "errors/ErrorWindow.h"
#include "platform/Failure.h"
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
// loses at most this record, never the log. A new log starts with a UTF-8
// byte-order mark so names in any script survive.
void Guard::append(const std::string& record) {
    try {
        std::error_code ec;
        fs::create_directories(paths_.errorDir(), ec);
        const fs::path file = logFile();
        const bool fresh = !fs::exists(file, ec) || fs::file_size(file, ec) == 0;
        std::ofstream out(file, std::ios::binary | std::ios::app);
        if (!out) return;  // nowhere to write: the window still tells the user
        if (fresh) out << "\xEF\xBB\xBF";
        out << record;
    } catch (...) {
        // A log that cannot be written must not take the program down.
    }
}

void Guard::report(const std::string& code, const std::string& className, const std::string& dump) {
    if (windowsGone) {
        record(code, className, dump);
        return;
    }
    if (state_.ErrorWindowOpen) return;
    append(fields(code, className, dump));
    showWindow(code, className);
}

void Guard::note(const std::string& line) {
    std::string when;
    try {
        const platform::LocalTime t = ports_.clock.now();
        char buf[32];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d ", t.year, t.month, t.day, t.hour, t.minute,
                      t.second);
        when = buf;
    } catch (...) {
    }
    append(when + line + "\r\n");
}

void Guard::record(const std::string& code, const std::string& className, const std::string& dump) {
    append(fields(code, className, dump));
}

// Without its window the user would learn nothing: a plain message box with
// the code then stands in for it.
void Guard::showWindow(const std::string& code, const std::string& className) {
    const std::string line = "Внутренний код ошибки: " + code + "[" + className + "]";
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

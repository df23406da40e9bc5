#include "errors/ErrorLog.h"
#include <cstdio>
#include <fstream>
#include <system_error>
#include "app/App.h"
#include "errors/ErrorWindow.h"
#include "platform/Path.h"

namespace errors {

namespace fs = std::filesystem;

std::string errorCode(const char* prefix, int step, bool appendStep) {
    std::string code = prefix;
    if (appendStep) code += std::to_string(step);
    return code;
}

std::string formatRecord(const RecordFields& r) {
    char when[64];
    std::snprintf(when, sizeof when, "%02d:%02d:%02d [%02d/%02d/%04d]", r.time.hour, r.time.minute, r.time.second,
                  r.time.month, r.time.day, r.time.year);
    std::string s;
    s += std::string(73, '=') + "\r\n";
    s += std::string(when) + "\r\n";
    s += "LMVN = " + r.LMVName + "\r\n";
    s += "LMVV = " + r.LMVVersion + " [" + r.LMVVersionName + "]\r\n";
    s += "WinV = " + r.WinV + "\r\n";
    s += "User = " + r.user + "\r\n";
    s += "PC = " + r.computer + "\r\n";
    s += "Adress = " + r.code + "\r\n";
    s += "Type = " + r.className + "\r\n";
    s += "Dump = \"" + r.dump + "\"\r\n";
    return s;
}

fs::path ErrorLog::logFile() const { return app_.paths.errorDir() / "Debug.Log"; }

// The record goes onto the end of the existing log in place: a crash part-way
// loses at most this record, never the log. A new log starts with a UTF-8
// byte-order mark so names in any script survive.
void ErrorLog::append(const std::string& record) {
    std::error_code ec;
    fs::create_directories(app_.paths.errorDir(), ec);
    const fs::path file = logFile();
    const bool fresh = !fs::exists(file, ec) || fs::file_size(file, ec) == 0;
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (!out) return;  // nowhere to write: the window still tells the user
    if (fresh) out << "\xEF\xBB\xBF";
    out << record;
}

namespace {
// A name the system cannot give reads "n/a" in the record.
template <class Query>
std::string nameOrNa(Query query) {
    try {
        std::string n = query();
        return n.empty() ? "n/a" : n;
    } catch (...) {
        return "n/a";
    }
}
}  // namespace

void ErrorLog::log(const std::string& code, const std::string& className, const std::string& dump) {
    if (app_.err.ErrorWindowOpen) return;
    ++app_.start.ShowModalRes;
    RecordFields r;
    try {
        r.time = app_.clock.now();
    } catch (...) {
    }
    r.LMVName = app_.start.LMVName;
    r.LMVVersion = app_.start.LMVVersion;
    r.LMVVersionName = app_.start.LMVVersionName;
    r.WinV = app_.start.WinV;
    r.user = nameOrNa([this] { return app_.system.userName(); });
    r.computer = nameOrNa([this] { return app_.system.computerName(); });
    r.code = code;
    r.className = className;
    r.dump = dump;
    try {
        append(formatRecord(r));
    } catch (...) {
        // A log that cannot be written must not take the program down.
    }
    showWindow(code, className);
}

void ErrorLog::showWindow(const std::string& code, const std::string& className) {
    ErrorWindow w(app_);
    w.open("Внутренний код ошибки: " + code + "[" + className + "]");
}

}  // namespace errors

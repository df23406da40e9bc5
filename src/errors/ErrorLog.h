#pragma once
#include <filesystem>
#include <string>
#include "platform/Types.h"

namespace app { class App; }

namespace errors {

std::string errorCode(const char* prefix, int step, bool appendStep);

// The ten lines of one failure record, without line ends.
struct RecordFields {
    platform::LocalTime time;
    std::string LMVName, LMVVersion, LMVVersionName, WinV, user, computer, code, className, dump;
};
std::string formatRecord(const RecordFields&);

class ErrorLog {
public:
    explicit ErrorLog(app::App& app) : app_(app) {}
    // Appends the record and shows the error window; returns when it closed.
    // Does nothing while an error window is already open.
    void log(const std::string& code, const std::string& className, const std::string& dump);
    std::filesystem::path logFile() const;

private:
    void append(const std::string& record);
    void showWindow(const std::string& code, const std::string& className);
    app::App& app_;
};

}  // namespace errors

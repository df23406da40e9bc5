#pragma once
#include <string>
#include <string_view>
#include "errors/Codes.h"
#include "platform/Types.h"

namespace errors {

std::string errorCode(const char* prefix, int step, bool appendStep);
// The code a routine logs when it fails at `step`.
inline std::string errorCode(const Code& c, int step) { return errorCode(c.prefix, step, c.appendStep); }

// The ten lines of one failure record, each ended by CR LF.
struct RecordFields {
    platform::LocalTime time;
    std::string LMVName, LMVVersion, LMVVersionName, WinV, user, computer, code, className, dump;
};
std::string formatRecord(const RecordFields&);
// A line for the log that is no failure (no code, class or dump), opened as a
// record is: the line of equals signs, then the time.
std::string formatNote(const platform::LocalTime& time, const std::string& text);

// UTF-8 throughout: what the log may hold.
bool IsUtf8(std::string_view text);

}  // namespace errors

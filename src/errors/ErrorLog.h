#pragma once
#include <string>
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

}  // namespace errors

#include "errors/ErrorLog.h"
#include <cstdio>

namespace errors {

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

}  // namespace errors

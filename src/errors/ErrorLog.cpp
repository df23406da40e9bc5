#include "errors/ErrorLog.h"
#include <cstdio>

namespace errors {

std::string errorCode(const char* prefix, int step, bool appendStep) {
    std::string code = prefix;
    if (appendStep) code += std::to_string(step);
    return code;
}

namespace {

// The first two lines of every record.
std::string opening(const platform::LocalTime& t) {
    char when[64];
    std::snprintf(when, sizeof when, "%02d:%02d:%02d [%02d/%02d/%04d]", t.hour, t.minute, t.second, t.month, t.day,
                  t.year);
    return std::string(73, '=') + "\r\n" + when + "\r\n";
}

}  // namespace

std::string formatNote(const platform::LocalTime& time, const std::string& text) {
    return opening(time) + text + "\r\n";
}

bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        int more = 0;
        char32_t c = b, least = 0;
        if (b >= 0x80) {
            if ((b & 0xE0) == 0xC0) more = 1, c = b & 0x1F, least = 0x80;
            else if ((b & 0xF0) == 0xE0) more = 2, c = b & 0x0F, least = 0x800;
            else if ((b & 0xF8) == 0xF0) more = 3, c = b & 0x07, least = 0x10000;
            else return false;
            if (s.size() - i <= std::size_t(more)) return false;
            for (int k = 1; k <= more; ++k) {
                const unsigned char n = static_cast<unsigned char>(s[i + std::size_t(k)]);
                if ((n & 0xC0) != 0x80) return false;
                c = (c << 6) | (n & 0x3F);
            }
            // Overlong forms and surrogates are not UTF-8 either.
            if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        }
        i += std::size_t(more) + 1;
    }
    return true;
}

std::string formatRecord(const RecordFields& r) {
    std::string s = opening(r.time);
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

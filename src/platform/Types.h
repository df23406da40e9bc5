#pragma once
#include <cstdint>
#include <string>

namespace platform {

// Opaque window identity, as the operating system hands it out (0 = none).
using WindowId = std::uintptr_t;

struct LocalTime {
    int year = 2000, month = 1, day = 1;   // month 1..12, day 1..31
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    int weekday = 6;                       // 0 = Sunday .. 6 = Saturday
};

struct OsVersion {
    unsigned major = 0, minor = 0, build = 0, platformId = 2;
};

// Colour as the system stores it: 0x00BBGGRR.
using Color = std::uint32_t;
constexpr Color rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

}  // namespace platform

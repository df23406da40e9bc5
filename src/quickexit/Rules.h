#pragma once
#include <cstdint>
#include <string>
#include "platform/Clock.h"

namespace quickexit {

struct HourMinute {
    int h = 0, m = 0;
    bool operator==(const HourMinute&) const = default;
};

// The firing time of day, from the time of day now and the time left.
HourMinute fireTime(HourMinute now, HourMinute left);
// The time left until the firing time: 0:00 to 23:59, tomorrow when it has passed today.
HourMinute timeLeft(HourMinute fire, HourMinute now);

// The marks' hint: «Перезагрузка через 00:45».
std::string statusHint(int action, HourMinute left);
// The warning's text for the minutes left; empty when it has none for them.
std::string warningText(int action, int minutesLeft);

// Minutes since 1 January 1970 on the local clock, to compare moments across days.
std::int64_t absoluteMinute(const platform::LocalTime&);

}  // namespace quickexit

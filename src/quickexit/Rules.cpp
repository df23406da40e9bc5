#include "quickexit/Rules.h"
#include "quickexit/State.h"

namespace quickexit {

HourMinute fireTime(HourMinute now, HourMinute left) {
    int h = now.h + left.h, m = now.m + left.m;
    if (m > 59) {
        m -= 60;
        ++h;
    }
    if (h > 23) h -= 24;
    return {h, m};
}

HourMinute timeLeft(HourMinute fire, HourMinute now) {
    int h = fire.h;
    if (now.h > fire.h || (now.h == fire.h && now.m > fire.m)) h += 24;
    h -= now.h;
    int m = fire.m;
    if (now.m > fire.m) {
        m += 60;
        --h;
    }
    return {h, m - now.m};
}

namespace {
std::string twoDigits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }
}  // namespace

std::string statusHint(int action, HourMinute left) {
    static const char* const words[] = {"Выключение ", "Перезагрузка ", "Выход из системы ", "Переход в спящий режим "};
    const std::string word = action >= kShutdown && action <= kHibernate ? words[action] : "";
    return word + "через " + twoDigits(left.h) + ":" + twoDigits(left.m);
}

std::string warningText(int action, int minutesLeft) {
    static const char* const prefixes[] = {"Компьютер будет выключен через ", "Компьютер будет перезагружен через ",
                                           "Будет произведен выход из системы через ",
                                           "Будет произведен переход в спящий режим через "};
    const std::string prefix = action >= kShutdown && action <= kHibernate ? prefixes[action] : "";
    const std::string n = std::to_string(minutesLeft);
    switch (minutesLeft) {
        // The last minute still reads as one: "0 минут" would look like a fault.
        case 0: return prefix + " 1 минуту.";
        case 1: return prefix + n + " минуту.";
        case 2:
        case 3:
        case 4: return prefix + n + " минуты.";
        case 5: return prefix + n + " минут.";
        default: return {};
    }
}

std::int64_t absoluteMinute(const platform::LocalTime& t) {
    // Days from the civil date (proleptic Gregorian calendar).
    const int y = t.year - (t.month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int mp = (t.month + 9) % 12;
    const int doy = (153 * mp + 2) / 5 + t.day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days = std::int64_t(era) * 146097 + doe - 719468;
    return days * 1440 + t.hour * 60 + t.minute;
}

}  // namespace quickexit

#pragma once
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "core/ClockFace.h"
#include "core/SystemEvents.h"
#include "errors/Guard.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "quickexit/State.h"
#include "reminders/State.h"
#include "reminders/Store.h"
#include "settings/Settings.h"
#include "sound/Chime.h"
#include "sound/ReminderSound.h"
#include "sound/State.h"
#include "sound/TalkingClock.h"

namespace reminders {

// Finds the next due reminder and fires it when the main tick says so.
class Scheduler final : public core::SystemEvents {
public:
    struct Ports {
        platform::Registry& registry;
        platform::Clock& clock;
    };
    // What a firing uses of the rest of the program.
    struct Parts {
        settings::Settings& settings;
        const sound::SoundState& sound;
        const quickexit::QuickExitState& quickExit;
        sound::Chime& chime;
        sound::TalkingClock& talk;
        sound::ReminderSound& channel;
        core::ClockFace& face;
    };
    Scheduler(Ports ports, Parts parts, NextRemind& next, errors::Guard& guard);

    void FindNextRemind();
    // Nothing fires, and a failed search is not tried again, until the next
    // FindNextRemind.
    void pause() {
        next_.NextRemindSet = false;
        searchOwed_ = false;
    }
    void FireRemind(int hour, int minute, const std::string& name);
    // The main tick's share: fires the next due reminder once, in seconds 31
    // to 59 of its minute, and moves past one whose minute has gone by. True
    // when it called out (the clock is then read again).
    bool TickStep(const platform::LocalTime& now);
    // The half-hour share, from second 1 of minutes 00 and 30: the next
    // reminder sought again, once in each such minute. True when it was.
    bool HalfHourStep(const platform::LocalTime& now);
    // Asleep or with the clock set, the reminder found before may have gone
    // by, and a half hour already searched may come again.
    void onResumed() override;
    void onTimeChanged() override { onResumed(); }

private:
    // A stored value that cannot be used, told once per run.
    struct Damage {
        const errors::Code* code;
        int remind;          // 0: the store as a whole
        std::string value;   // its name
        const char* kind;    // the failure's class name
        std::string text;    // what it holds
    };
    // Tells each damage not told before in this run; what the error window
    // would drop now waits for a later call.
    void tellOnce(std::vector<Damage>& found);
    void tellQueued();
    // FindNextRemind, keeping what it found damaged for the caller to tell.
    void seek(std::vector<Damage>& damage);
    void search(std::vector<Damage>& damage);  // throws what the registry throws
    void retrySearch(const platform::LocalTime& now);
    // Numbers inside the count that have no key: told, and closed up.
    void closeGaps(std::vector<Damage>& damage);

    Ports ports_;
    Parts parts_;
    NextRemind& next_;
    errors::Guard& guard_;
    std::set<std::string> told_;
    std::deque<std::pair<Damage, std::string>> untold_;  // with its key
    std::set<std::string> queued_;                       // the keys of untold_
    bool telling_ = false;                               // the telling waits in the clock's queue
    // The :00 or :30 minute last searched, and the reminders fired lately,
    // each by the stamp of its date and minute and its name: a clock set back
    // brings no reminder round to fire twice in one minute, and a reminder
    // added since still fires there.
    std::optional<long long> halfHourSought_;
    std::deque<std::pair<long long, std::string>> fired_;
    std::optional<std::pair<long long, std::string>> passedSought_;
    bool searchOwed_ = false;
    std::optional<long long> retried_;  // the minute of the last try
};

}  // namespace reminders

#pragma once
#include <array>
#include <string>
#include <vector>
#include "core/Paths.h"
#include "errors/Guard.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "settings/Settings.h"

namespace sound {

// The files every voice folder must hold, in the order they are checked.
extern const std::array<const char*, 32> kVoiceFiles;

// Number codes: 0..20, 30, 40, 50 as spoken with minutes (1 and 2 feminine);
// 51 and 52 are the masculine one and two of the hours.
enum : unsigned { kMasculineOne = 51, kMasculineTwo = 52 };
// Word codes.
enum : unsigned { kWordHours = 0, kWordHour = 1, kWordHoursFew = 2, kWordMinutes = 3, kWordMinute = 4, kWordMinutesFew = 5 };

// File name of a code, or nullptr when the code has no file.
const char* NumberFile(unsigned code);
const char* WordFile(unsigned code);

// One word of a phrase: a number code or a word code.
struct VoiceItem {
    bool word = false;
    unsigned code = 0;
    bool operator==(const VoiceItem&) const = default;
};

std::vector<VoiceItem> HourPart(int hour);
std::vector<VoiceItem> MinutePart(int minute);
// The files of the whole phrase for hour:minute, in playing order.
std::vector<std::string> PhraseFiles(int hour, int minute);

// Speaks the time in Russian from the recorded words of a voice folder.
class TalkingClock {
public:
    struct Ports {
        platform::Audio& audio;
        platform::Clock& clock;
    };
    TalkingClock(Ports ports, const core::Paths& paths, settings::Settings& settings, errors::Guard& guard);

    // Names under Sounds in listing order (plain files included).
    std::vector<std::string> ListSoundsFolder();
    // The voices that VoiceIsComplete accepts, in listing order.
    std::vector<std::string> CompleteVoices();
    bool VoiceIsComplete(const std::string& name);
    // False when a failure was logged and the phrase should stop.
    bool PlayVoiceNumber(unsigned code);
    bool PlayVoiceWord(unsigned code);
    // Speaks the time now with VoiceType, or the first complete voice (which
    // becomes VoiceType); one beep when there is none. Returns when it is said.
    void SpeakTime();

private:
    bool chooseVoice();
    bool play(const VoiceItem&);
    void playFile(const char* file, const char* what, unsigned code);

    Ports ports_;
    const core::Paths& paths_;
    settings::Settings& settings_;
    errors::Guard& guard_;
};

}  // namespace sound

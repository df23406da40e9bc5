#pragma once
#include <array>
#include <optional>
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
    bool PlayVoiceNumber(const std::string& voice, unsigned code);
    bool PlayVoiceWord(const std::string& voice, unsigned code);
    // Speaks the time now with `voice`, or the first complete voice; one beep
    // when there is none. Returns when it is said; the settings stay as they are.
    void SpeakTime(const std::string& voice);
    // With VoiceType; a voice taken in its place becomes VoiceType.
    void SpeakTime();

private:
    // `wanted` when it is complete, else the first complete voice, else none.
    std::optional<std::string> chooseVoice(const std::string& wanted);
    // `adopt`, when given, takes the voice chosen.
    void speak(const std::string& wanted, std::string* adopt);
    bool play(const std::string& voice, const VoiceItem&);
    void playFile(const std::string& voice, const char* file, const char* what, unsigned code);

    Ports ports_;
    const core::Paths& paths_;
    settings::Settings& settings_;
    errors::Guard& guard_;
};

}  // namespace sound

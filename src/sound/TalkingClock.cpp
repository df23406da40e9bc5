#include "sound/TalkingClock.h"
#include <filesystem>
#include <system_error>
#include "platform/Failure.h"
#include "platform/Path.h"

namespace sound {

namespace fs = std::filesystem;

const std::array<const char*, 32> kVoiceFiles = {
    "0.wav",  "1f.wav", "2f.wav", "3.wav",  "4.wav",  "5.wav",  "6.wav",  "7.wav",
    "8.wav",  "9.wav",  "10.wav", "11.wav", "12.wav", "13.wav", "14.wav", "15.wav",
    "16.wav", "17.wav", "18.wav", "19.wav", "20.wav", "30.wav", "40.wav", "50.wav",
    "1m.wav", "2m.wav", "cov.wav", "c.wav", "ca.wav", "m.wav", "ma.wav", "my.wav",
};

namespace {

constexpr std::size_t kFirstWordFile = 26;

VoiceItem number(unsigned code) { return {false, code}; }
VoiceItem word(unsigned code) { return {true, code}; }

// A voice is one folder directly under Sounds. Anything else in VoiceType
// (a path, "..", a drive) would reach outside that folder.
bool plainFolderName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.find_first_of("/\\") != std::string::npos) return false;
    return !platform::u8path(name).has_root_path();
}

bool filePresent(const fs::path& p) {
    std::error_code ec;
    (void)fs::last_write_time(p, ec);
    if (ec) return false;
    return !fs::is_directory(p, ec);
}

}  // namespace

const char* NumberFile(unsigned code) {
    if (code <= 20) return kVoiceFiles[code];
    switch (code) {
        case 30: return kVoiceFiles[21];
        case 40: return kVoiceFiles[22];
        case 50: return kVoiceFiles[23];
        case kMasculineOne: return kVoiceFiles[24];
        case kMasculineTwo: return kVoiceFiles[25];
        default: return nullptr;
    }
}

const char* WordFile(unsigned code) {
    return code <= kWordMinutesFew ? kVoiceFiles[kFirstWordFile + code] : nullptr;
}

std::vector<VoiceItem> HourPart(int h) {
    std::vector<VoiceItem> items;
    if (h > 20) {
        items.push_back(number(20));
        h -= 20;
    }
    items.push_back(number(h == 1 || h == 2 ? 50 + unsigned(h) : unsigned(h)));
    items.push_back(word(h == 1 ? kWordHour : (h >= 2 && h <= 4) ? kWordHoursFew : kWordHours));
    return items;
}

// Exact tens stay whole: 30 is "тридцать", not "двадцать десять".
std::vector<VoiceItem> MinutePart(int m) {
    std::vector<VoiceItem> items;
    if (m > 20 && m < 60 && m % 10 != 0) {
        items.push_back(number(unsigned(m - m % 10)));
        m %= 10;
    }
    items.push_back(number(unsigned(m)));
    items.push_back(word(m == 1 ? kWordMinute : (m >= 2 && m <= 4) ? kWordMinutesFew : kWordMinutes));
    return items;
}

std::vector<std::string> PhraseFiles(int hour, int minute) {
    std::vector<std::string> files;
    auto add = [&](const std::vector<VoiceItem>& part) {
        for (const VoiceItem& i : part) {
            const char* f = i.word ? WordFile(i.code) : NumberFile(i.code);
            files.push_back(f ? f : "?");
        }
    };
    add(HourPart(hour));
    add(MinutePart(minute));
    return files;
}

TalkingClock::TalkingClock(Ports ports, const core::Paths& paths, settings::Settings& settings, errors::Guard& guard)
    : ports_(ports), paths_(paths), settings_(settings), guard_(guard) {}

void TalkingClock::playFile(const std::string& voice, const char* file, const char* what, unsigned code) {
    if (!file) throw platform::SoundError(std::string("No voice file for ") + what + " code " + std::to_string(code));
    const fs::path path = paths_.soundsDir() / platform::u8path(voice) / file;
    // A file that cannot be played sounds the system's default instead; the phrase goes on.
    ports_.audio.playSound(platform::u8string(path));
}

bool TalkingClock::play(const std::string& voice, const VoiceItem& item) {
    return item.word ? PlayVoiceWord(voice, item.code) : PlayVoiceNumber(voice, item.code);
}

std::optional<std::string> TalkingClock::chooseVoice(const std::string& wanted) {
    std::error_code ec;
    const fs::path sounds = paths_.soundsDir();
    // A Sounds folder that cannot be made simply holds no voice.
    if (!fs::is_directory(sounds, ec)) fs::create_directories(sounds, ec);
    if (VoiceIsComplete(wanted)) return wanted;
    for (const std::string& name : ListSoundsFolder())
        if (VoiceIsComplete(name)) return name;
    return std::nullopt;
}

std::vector<std::string> TalkingClock::ListSoundsFolder() {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(paths_.soundsDir(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = platform::u8string(it->path().filename());
        if (name != "." && name != "..") names.push_back(name);
    }
    return names;
}

std::vector<std::string> TalkingClock::CompleteVoices() {
    std::vector<std::string> voices;
    for (const std::string& name : ListSoundsFolder())
        if (VoiceIsComplete(name)) voices.push_back(name);
    return voices;
}

bool TalkingClock::VoiceIsComplete(const std::string& name) {
    bool complete = false;
    guard_(errors::code::VoiceIsComplete, [&] {
        if (!plainFolderName(name)) return;
        const fs::path dir = paths_.soundsDir() / platform::u8path(name);
        for (const char* file : kVoiceFiles)
            if (!filePresent(dir / file)) return;
        complete = true;
    });
    return complete;
}

bool TalkingClock::PlayVoiceNumber(const std::string& voice, unsigned code) {
    return guard_(errors::code::PlayVoiceNumber, [&] { playFile(voice, NumberFile(code), "number", code); },
                  [&] { return errors::Dump().add("Digital", code); });
}

bool TalkingClock::PlayVoiceWord(const std::string& voice, unsigned code) {
    return guard_(errors::code::PlayVoiceWord, [&] { playFile(voice, WordFile(code), "word", code); },
                  [&] { return errors::Dump().add("TypeHM", code); });
}

void TalkingClock::SpeakTime(const std::string& voice) { speak(voice, nullptr); }

void TalkingClock::SpeakTime() { speak(settings_.VoiceType, &settings_.VoiceType); }

void TalkingClock::speak(const std::string& wanted, std::string* adopt) {
    int hour = 0, minute = 0;  // the working values the dump shows
    guard_(errors::code::SpeakTime, [&] {
        const std::optional<std::string> chosen = chooseVoice(wanted);
        if (!chosen) {
            ports_.audio.messageBeep(platform::kBeepDefault);
            return;
        }
        const std::string& voice = *chosen;
        if (adopt) *adopt = voice;
        const int h = ports_.clock.now().hour;
        hour = h;
        const std::vector<VoiceItem> hourPart = HourPart(h);
        for (std::size_t i = 0; i < hourPart.size(); ++i) {
            if (!play(voice, hourPart[i])) return;
            if (i == 0 && h > 20) hour = h - 20;
        }
        // The hour part takes a second or two: speak the minute it is now, but
        // one that belongs to the hour just said (10:59:58 is not "ten hours
        // zero minutes").
        const platform::LocalTime now = ports_.clock.now();
        const int m = now.hour == h ? now.minute : 59;
        minute = m;
        const std::vector<VoiceItem> minutePart = MinutePart(m);
        for (std::size_t i = 0; i < minutePart.size(); ++i) {
            if (!play(voice, minutePart[i])) return;
            if (i == 0 && minutePart.size() == 3) minute = m % 10;
        }
    }, [&] { return errors::Dump().add("Hour", hour).add("Minute", minute); });
}

}  // namespace sound

// Backup files as a user's disk may hold them: random bytes and damaged real
// files, loaded in memory by the thousand and through the whole routine by the
// hundred. Nothing may crash or hang, a refused file may change nothing, and
// what a load repairs must load again without a repair. LUMIVO_FUZZ_RUNS sets
// the count of the in-memory run (LUMIVO_FUZZ_SEED its seed); the times of a
// backup with 100 reminders are measured here too.
#include <gtest/gtest.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include "fakes/Fakes.h"
#include "platform/Path.h"
#include "reminders/Store.h"
#include "settings/BackUpText.h"
#include "settings/Fields.h"

namespace fs = std::filesystem;
using settings::Refusal;

namespace {

struct QuietView : settings::BackUpView {
    void showSettings(const settings::Settings&) override {}
    void listReminds() override {}
    void markChanged() override {}
    void showLastBackUp(const std::string&) override {}
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::uint64_t envNumber(const char* name, std::uint64_t otherwise) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoull(v, nullptr, 10) : otherwise;
}

void addReminds(platform::Registry& r, int count, const std::string& text) {
    const auto hive = platform::Hive::CurrentUser;
    for (int n = 1; n <= count; ++n) {
        const std::string key = reminders::RemindKeyOf(n);
        r.writeString(hive, key, "Name", text + " " + std::to_string(n));
        r.writeDword(hive, key, "RemindEnabled", n % 2);
        r.writeDword(hive, key, "OneLaunch", 0);
        r.writeString(hive, key, "TimeH", n % 5 ? std::to_string(n % 24) : "**");
        r.writeString(hive, key, "TimeM", std::to_string(n % 60));
        if (n % 3 == 0) r.writeDword(hive, key, "SoundType", n % 5);
        if (n % 4 == 0) r.writeString(hive, key, "SoundFile", "C:\\Sounds\\new " + std::to_string(n) + ".wav");
        r.writeDword(hive, key, "IgnoreLowTime", 1);
        r.writeDword(hive, key, "IgnoreDisSound", 0);
        if (n % 2) {
            r.writeString(hive, key, "MsgCaption", "\"" + text + "\"");
            r.writeString(hive, key, "MsgText", text + "\r\nвторая строка\r\n  с отступом ");
            r.writeDword(hive, key, "MsgIcon", n % 5);
        }
        if (n % 7 == 0) r.writeDword(hive, key, "MD6", 0);
    }
    r.writeDword(hive, reminders::kRemindKey, "RemindCount", count);
}

// Real files as the program writes them.
std::vector<std::string> seeds() {
    std::vector<std::string> out;
    const struct {
        int reminds;
        const char* text;
        const char* font;
    } kinds[] = {{0, "", "Tahoma"}, {1, "Обед", "Arial"}, {2, "Café ✓", "Times New Roman"}, {4, "Чай", "Verdana"}};
    for (const auto& k : kinds) {
        fakes::TestApp t;
        t.app.settings.Name = k.font;
        t.app.settings.VoiceType = "Алексей";
        addReminds(t.registry, k.reminds, k.text);
        const fs::path file = t.dir / "seed.SetLMV";
        t.app.backUp.BackUpFileName = platform::u8string(file);
        QuietView view;
        t.app.backUp.WriteBackUpFile(view);
        out.push_back(slurp(file));
    }
    return out;
}

const std::string kTokens[] = {
    "=", "[", "]", "\r\n", "\n", "\r", "\"", "\\", "\\r\\n", " ", "\t", "\xEF\xBB\xBF", "\xC0\xAF", "\xD0", "\0",
    "0", "1", "-1", "2", "255", "99999999999", "-2147483648", "2147483647", "abc", "[Main]", "[Settings]",
    "[Sound]", "[Remind]", "[Remind1]", "[Remind1000]", "RemindCount=", "RemindCount=1000", "RemindCount=1001",
    "ControlSize=", "CutVersion=1", "AlphaSet=", "VoiceEnabled=2", "SoundHEnabled=1", "Name=", "MsgText=\"",
    "THIS STRING IS TITLE, DON`T EDIT IT!=<Lumivo BackUp File>",
};

class Mutator {
public:
    Mutator(std::uint64_t seed, std::vector<std::string> corpus) : rng_(seed), corpus_(std::move(corpus)) {}

    // Into `s`, whose room is used again: fewer allocations, a faster run.
    void next(std::string& s) {
        if (pick(20) == 0) {
            s.resize(pick(600));
            for (char& c : s) c = char(rng_());
            return;
        }
        s = corpus_[pick(corpus_.size())];
        for (std::size_t n = 1 + pick(4); n > 0; --n) mutate(s);
    }
    std::string next() {
        std::string s;
        next(s);
        return s;
    }

private:
    std::size_t pick(std::size_t n) { return n ? std::size_t(rng_() % n) : 0; }
    std::size_t at(const std::string& s) { return pick(s.size() + 1); }

    // The start of a line, where a damaged key or section does the most.
    std::size_t lineStart(const std::string& s) {
        const std::size_t p = s.find('\n', at(s));
        return p == std::string::npos ? s.size() : p + 1;
    }

    void mutate(std::string& s) {
        switch (pick(10)) {
            case 0:
                if (!s.empty()) s[pick(s.size())] = char(rng_());
                break;
            case 1: s.insert(at(s), kTokens[pick(std::size(kTokens))]); break;
            case 2: s.insert(lineStart(s), kTokens[pick(std::size(kTokens))]); break;
            case 3: {
                const std::size_t p = at(s);
                s.erase(p, pick(64));
                break;
            }
            case 4: {  // a line twice
                const std::size_t from = lineStart(s), to = s.find('\n', from);
                if (to != std::string::npos) s.insert(from, s.substr(from, to - from + 1));
                break;
            }
            case 5: s.resize(at(s)); break;
            case 6: {  // another file's piece
                const std::string& other = corpus_[pick(corpus_.size())];
                const std::size_t from = pick(other.size());
                s.insert(at(s), other.substr(from, pick(400)));
                break;
            }
            case 7: s.insert(at(s), std::string(1 + pick(8), char(rng_()))); break;
            case 8: {  // a number made another
                const std::size_t p = s.find_first_of("0123456789", at(s));
                if (p != std::string::npos) s.replace(p, 1, kTokens[15 + pick(8)]);
                break;
            }
            default: s.insert(at(s), std::string(1 + pick(3), ' ')); break;
        }
    }

    std::mt19937_64 rng_;
    std::vector<std::string> corpus_;
};

// What loading one file in memory must keep to: the reason it does not, or
// nothing. `reload` also loads what its repairs leave. Plain checks: the
// assertion macros would cost more than the load.
std::string checkInMemory(const std::string& bytes, const settings::Settings& current, bool reload, bool& accepted) {
    std::string copy;
    copy.reserve(bytes.size() + 512);  // room for the repairs
    copy = bytes;
    settings::CheckedFile checked = settings::CheckBackUp(std::move(copy));
    accepted = checked.refusal == Refusal::None;
    if (!accepted) return {};
    const settings::FileLoad load = settings::LoadBackUp(checked.text, current, "1.1.0.105");
    if (load.read != 30) return "read " + std::to_string(load.read);
    if (load.repaired > 42) return "repaired " + std::to_string(load.repaired);
    for (const settings::Field& f : settings::fields())
        if (!f.valid(load.record)) return std::string(f.name) + " not valid";
    if (load.reminds) {
        const int n = load.reminds->count.dword;
        if (n <= 0 || n > settings::kMostBackUpReminds || load.reminds->keys.size() != std::size_t(n))
            return "reminders " + std::to_string(n);
    }
    if (load.repaired == 0 || !reload) return {};
    // What the repairs leave is a sealed backup file that needs no repair,
    // unless it would be too big to be one.
    settings::DateAndSeal(checked.text, "07.12.2026");
    const settings::CheckedFile again = settings::CheckBackUp(checked.text.bytes());
    if (again.refusal == Refusal::TooBig) return {};
    if (again.refusal != Refusal::None) return "repaired, refused";
    if (!again.sealed) return "repaired, not sealed";
    settings::IniText text = again.text;
    if (const int n = settings::LoadBackUp(text, current, "1.1.0.105").repaired) return "repaired again: " + std::to_string(n);
    return {};
}

}  // namespace

TEST(BackUpFuzz, InMemoryNothingCrashesHangsOrStaysInvalid) {
    const std::uint64_t runs = envNumber("LUMIVO_FUZZ_RUNS", 100000);
    const std::uint64_t seed = envNumber("LUMIVO_FUZZ_SEED", 20261207);
    Mutator m(seed, seeds());
    settings::Settings current = settings::FirstRun();
    current.VoiceEnabled = 1;  // a missing VoiceEnabled beside a chime is repaired twice
    std::size_t accepted = 0, totalSize = 0;
    const auto start = std::chrono::steady_clock::now();
    std::string bytes;
    for (std::uint64_t i = 0; i < runs; ++i) {
        m.next(bytes);
        bool taken = false;
        const std::string why = checkInMemory(bytes, current, i % 8 == 0, taken);
        if (!why.empty())
            FAIL() << "input " << i << " of seed " << seed << ": " << why << "\n" << testing::PrintToString(bytes);
        accepted += taken;
        totalSize += bytes.size();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "[ fuzz     ] " << runs << " inputs in memory, " << accepted << " taken for backup files, "
              << seconds << " s, mean size " << totalSize / runs << "\n";
    EXPECT_GT(accepted, runs / 10) << "the mutations should leave many files loadable";
}

// Through the files, the registry and the user's answer: a refused file
// leaves every setting and reminder as it was.
// The same for a portable copy, whose store is the file beside it.
TEST(BackUpFuzz, ThroughTheRoutineARefusalChangesNothingAndALoadReplacesAsTheFileSays) {
    for (const bool portable : {false, true}) {
        SCOPED_TRACE(portable ? "the portable store" : "the registry");
        const std::uint64_t runs = envNumber("LUMIVO_FUZZ_RUNS", 100000) / 500;
        Mutator m(envNumber("LUMIVO_FUZZ_SEED", 20261207) + 1, seeds());
        fakes::TestApp t(portable);
        t.app.openStore();
        platform::Registry& store = t.app.registry;
        // Whatever holds the reminders: the registry, or the file's store.
        auto held = [&] { return std::make_pair(t.registry.values, t.store.text()); };
        QuietView view;
        const fs::path file = t.dir / "fuzz.SetLMV";
        t.app.backUp.BackUpFileName = platform::u8string(file);
        std::mt19937 answers(7);
        for (std::uint64_t i = 0; i < runs; ++i) {
            SCOPED_TRACE(testing::Message() << "input " << i);
            store.deleteKeyTree(platform::Hive::CurrentUser, reminders::kRemindKey);
            addReminds(store, 1 + int(i % 3), "Прежнее");
            const auto remindsBefore = held();
            const settings::Settings before = t.app.settings;
            const std::string bytes = m.next();
            std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
            t.ui.boxes.clear();
            t.ui.answers = {answers() % 2 ? ui::kIdYes : ui::kIdNo};
            t.app.backUp.ReadBackUpFile(view);

            ASSERT_FALSE(t.ui.boxes.empty());
            const bool refused = t.ui.boxes.back().caption == "Ошибка";
            settings::CheckedFile checked = settings::CheckBackUp(bytes);
            if (refused) {
                ASSERT_EQ(t.app.settings, before);
                ASSERT_EQ(held(), remindsBefore) << "no reminder lost";
                ASSERT_EQ(slurp(file), bytes);
                continue;
            }
            ASSERT_EQ(checked.refusal, Refusal::None);
            const settings::FileLoad load = settings::LoadBackUp(checked.text, before, "");
            ASSERT_EQ(t.app.settings, load.record);
            if (!load.reminds) {
                ASSERT_EQ(held(), remindsBefore);
            } else {
                ASSERT_EQ(store.read(platform::Hive::CurrentUser, reminders::kRemindKey, "RemindCount").dword,
                          load.reminds->count.dword);
            }
        }
        std::ifstream log(t.app.guard.logFile());
        EXPECT_FALSE(log.good()) << "no fault of the program was logged";
        if (portable) {
            EXPECT_FALSE(t.registry.keyExists(platform::Hive::CurrentUser, settings::kRootKey));
        }
    }
}

// The best of five in this thread's own processor time, so that another
// program's load on the machine does not decide.
TEST(BackUpTiming, AHundredRemindersAreWrittenAndReadInUnderATenthOfASecond) {
    fakes::TestApp t;
    addReminds(t.registry, 100, "Напоминание");
    QuietView view;
    const fs::path file = t.dir / "hundred.SetLMV";
    t.app.backUp.BackUpFileName = platform::u8string(file);
    const auto ms = [](auto&& run) {
        double best = 1e9;
        for (int i = 0; i < 5; ++i) {
            const double start = fakes::threadSeconds();
            run();
            best = std::min(best, (fakes::threadSeconds() - start) * 1e3);
        }
        return best;
    };
    const double write = ms([&] { t.app.backUp.WriteBackUpFile(view); });
    const double read = ms([&] { t.app.backUp.ReadBackUpFile(view); });
    std::cout << "[ timing   ] 100 reminders, " << fs::file_size(file) << " bytes: written in " << write
              << " ms, read in " << read << " ms\n";
    EXPECT_EQ(t.app.backUp.ParamsRepaired, 0);
    EXPECT_EQ(t.ui.boxes.back().text, " Данные загружены успешно.  ");
    EXPECT_EQ(t.registry.dword(reminders::kRemindKey, "RemindCount"), 100);
    EXPECT_LT(write, 100.0);
    EXPECT_LT(read, 100.0);
}

// Whatever the registry holds, the load never fails, leaves every setting
// among its valid values and shows the clock.
#include <gtest/gtest.h>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <random>
#include <unordered_map>
#include "app/App.h"
#include "app/ClockWindow.h"
#include "fakes/Fakes.h"
#include "settings/Fields.h"

namespace {

using platform::RegValue;

std::uint64_t fromEnv(const char* name, std::uint64_t fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

// The settings keys only, kept by field: a load reads thirty-odd values, and
// a hundred thousand loads want a store that costs next to nothing.
class SettingsRegistry final : public platform::Registry {
public:
    std::vector<std::optional<RegValue>> byField = std::vector<std::optional<RegValue>>(settings::fields().size());
    bool keys[6] = {};

    void clear() {
        for (auto& v : byField) v.reset();
        for (bool& k : keys) k = false;
    }
    bool keyExists(platform::Hive, const std::string& path) override {
        for (int g = 0; g < 6; ++g)
            if (path == settings::registryKey(settings::Group(g))) return keys[g] || anyBelow(g);
        return false;
    }
    RegValue read(platform::Hive, const std::string& path, const std::string& name) override {
        static const std::unordered_map<std::string, const settings::Field*> byName = [] {
            std::unordered_map<std::string, const settings::Field*> m;
            for (const settings::Field& f : settings::fields()) m[f.value] = &f;  // every value name is unique
            return m;
        }();
        const auto it = byName.find(name);
        if (it == byName.end() || path != settings::registryKey(it->second->group)) return {};
        const auto& v = byField[settings::indexOf(*it->second)];
        return v ? *v : RegValue{};
    }
    void writeDword(platform::Hive, const std::string&, const std::string&, std::int32_t) override { unexpected(); }
    void writeString(platform::Hive, const std::string&, const std::string&, const std::string&) override {
        unexpected();
    }
    void createKey(platform::Hive, const std::string&) override { unexpected(); }
    bool deleteValue(platform::Hive, const std::string&, const std::string&) override { return unexpected(); }
    bool deleteKeyTree(platform::Hive, const std::string&) override { return unexpected(); }
    bool copyKeyTree(platform::Hive, const std::string&, const std::string&) override { return unexpected(); }
    std::optional<platform::RegValues> readAll(platform::Hive, const std::string&) override {
        unexpected();
        return std::nullopt;
    }
    void writeAll(platform::Hive, const std::string&, const platform::RegValues&) override { unexpected(); }

private:
    // A key exists when any key below it does (Settings holds all the others).
    bool anyBelow(int g) {
        if (g != int(settings::Group::Settings)) return false;
        for (bool k : keys)
            if (k) return true;
        return false;
    }
    static bool unexpected() {
        ADD_FAILURE() << "a load only reads";
        return false;
    }
};

RegValue dword(std::int32_t v) { return {RegValue::Type::Dword, v, {}}; }
RegValue text(std::string s) { return {RegValue::Type::String, 0, std::move(s)}; }

// One stored value of any kind, or none; `wrongType` is set when its type is not the field's.
std::optional<RegValue> anyValue(const settings::Field& f, std::mt19937_64& rng, bool typesRight, bool& wrongType) {
    const bool isText = f.type == settings::Type::Text;
    auto pick = [&](std::uint64_t n) { return std::uint64_t(rng() % n); };
    static const std::int32_t odd[] = {INT_MIN, INT_MIN + 1, -1000000, -256, -1, 0, 1, 2, 3, 7, 23, 24, 99, 100,
                                       255, 256, 1000, 1001, 65536, INT_MAX};
    static const char* const texts[] = {"", "1", "0", "-1", " 255", "abc", "Мужской голос", "..", "\\\\server\\x",
                                        "C:\\Windows", "\xff\xfe", "20 ", "\t", "Forte"};
    switch (pick(10)) {
        case 0:
        case 1:
        case 2: return std::nullopt;
        case 9:
            if (typesRight) break;
            wrongType = true;
            return RegValue{RegValue::Type::Other, 0, {}};
        case 8:
            if (typesRight || isText) break;
            wrongType = true;
            return text(texts[pick(std::size(texts))]);
        default: break;
    }
    if (isText) {
        if (!typesRight && pick(6) == 0) {
            wrongType = true;
            return dword(odd[pick(std::size(odd))]);
        }
        return text(pick(8) == 0 ? std::string(pick(5000), 'x') : texts[pick(std::size(texts))]);
    }
    switch (pick(4)) {
        case 0: return dword(f.ranged() ? f.lo + std::int32_t(pick(std::uint64_t(f.hi - f.lo) + 1)) : 1);
        case 1: return dword(std::int32_t(std::uint32_t(rng())));
        default: return dword(odd[pick(std::size(odd))]);
    }
}

}  // namespace

TEST(SettingsLoadProperty, AnyRegistryContentsLoadsIntoValidSettingsAndShowsTheClock) {
    const std::uint64_t cases = fromEnv("LUMIVO_PROPERTY_CASES", 100'000);
    const std::uint64_t seed = fromEnv("LUMIVO_PROPERTY_SEED", 20261208);
    fakes::TestApp t;
    SettingsRegistry registry;
    app::App a({t.clock, registry, t.audio, t.shell, t.power, t.system, t.mail, t.ui});
    a.choosePaths();
    app::ClockWindow clock(a);
    t.ui.realize(clock.form());
    std::mt19937_64 rng(seed);
    std::uint64_t reports = 0;

    for (std::uint64_t i = 0; i < cases; ++i) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", case " + std::to_string(i));
        registry.clear();
        // Every other case starts from what the last one left, as later loads do.
        if (i % 2 == 0) a.settings = settings::FirstRun();
        a.load = {};
        clock.form().hide();

        const bool typesRight = rng() % 4 != 0;
        bool wrongType = false;
        for (settings::Group g : {settings::Group::Settings, settings::Group::Sound, settings::Group::Font,
                                  settings::Group::Style, settings::Group::Position, settings::Group::QuickExit}) {
            const auto presence = rng() % 4;
            if (presence == 0) continue;  // no key
            registry.keys[int(g)] = true;
            if (presence == 1) continue;  // an empty key
            for (const settings::Field& f : settings::fields()) {
                if (f.group != g) continue;
                bool wrong = false;
                if (auto v = anyValue(f, rng, typesRight, wrong)) {
                    registry.byField[settings::indexOf(f)] = std::move(*v);
                    wrongType = wrongType || wrong;
                }
            }
        }
        const bool anythingRead =
            registry.keyExists(platform::Hive::CurrentUser, settings::registryKey(settings::Group::Settings));
        const std::size_t windows = t.ui.modalForms.size();

        a.settingsStore.LoadSettings();

        for (const settings::Field& f : settings::fields())
            ASSERT_TRUE(f.valid(a.settings)) << f.name << " = " << f.get(a.settings);
        ASSERT_EQ(a.load.Loading, 1);
        ASSERT_TRUE(clock.form().visible());
        // The only failure a load may report is the odd type it read past.
        const bool reported = t.ui.modalForms.size() > windows;
        ASSERT_EQ(reported, anythingRead && wrongType);
        reports += reported;
    }

    std::ifstream log(a.guard.logFile());
    std::uint64_t records = 0;
    for (std::string line; std::getline(log, line);) {
        if (!line.starts_with("Adress = ")) continue;
        ++records;
        ASSERT_EQ(line, "Adress = 0.013 - 006.0\r");
        ASSERT_TRUE(std::getline(log, line));
        ASSERT_EQ(line, "Type = ConversionError\r");
    }
    EXPECT_EQ(records, reports);
    EXPECT_GT(reports, cases / 10) << "odd types were tried";
    EXPECT_LT(reports, cases) << "and clean ones too";
}

// The portable copy's store: the registry port over one file beside the program.
#include <gtest/gtest.h>
#include <fstream>
#include <random>
#include <tuple>
#include "fakes/Fakes.h"
#include "settings/Fields.h"
#include "app/ClockWindow.h"
#include "app/Program.h"
#include "platform/Path.h"
#include "settings/BackUpFile.h"
#include "settings/PortableStore.h"

namespace fs = std::filesystem;
using platform::Hive;
using platform::RegValue;
using settings::PortableStore;

namespace {

const std::string kRoot = settings::kRootKey;

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Portable {
    fakes::TestApp t;  // its folder, clock and system
    fakes::FakeRegistry outside;
    fs::path folder = t.dir / "stick";
    fs::path file = folder / settings::kPortableFile;

    Portable() {
        fs::create_directories(folder);
        std::ofstream(folder / settings::kPortableMarker) << "portable";
    }
    std::unique_ptr<PortableStore> open(PortableStore::Opened expected = PortableStore::Opened::File) {
        auto s = std::make_unique<PortableStore>(outside, t.system);
        EXPECT_EQ(s->open(folder, true), expected);
        return s;
    }
};

// Everything a key holds, names folded as the registry compares them.
std::map<std::string, RegValue> contents(platform::Registry& r, const std::string& key) {
    std::map<std::string, RegValue> m;
    if (auto values = r.readAll(Hive::CurrentUser, key))
        for (auto& [name, v] : *values) m[fakes::FakeRegistry::norm(name)] = v;
    return m;
}

}  // namespace

// Random writes, deletes and copies made to the file store and to a registry
// read the same from both, before and after the file is written and read
// back; the values include texts that look like the file's own marks.
TEST(PortableStore, HoldsWhatTheRegistryWouldAcrossRestarts) {
    const std::vector<std::string> keys = {kRoot, kRoot + "\\Settings", kRoot + "\\Settings\\Sound",
                                           kRoot + "\\Remind\\Remind1", kRoot + "\\REMIND\\Remind2",
                                           kRoot + "\\Remind\\Remind3"};
    const std::vector<std::string> names = {"Version", "TimeH", "timeh", "MsgText", "Name"};
    const std::vector<std::string> texts = {"",         " blanks ", "\"quoted\"", "dword:5",        "text:x", "12",
                                            "Алексей",  "✓ mark",   "two\r\nlines", "a=b; [c]", "\\back\\"};
    for (unsigned seed = 1; seed <= 6; ++seed) {
        Portable p;
        auto store = p.open();
        fakes::FakeRegistry reference;
        std::mt19937 rng(seed);
        auto pick = [&](const auto& v) { return v[rng() % v.size()]; };
        for (int step = 0; step < 300; ++step) {
            const std::string key = pick(keys), name = pick(names);
            platform::Registry* both[] = {store.get(), &reference};
            switch (rng() % 8) {
                case 0: case 1: {
                    const auto number = std::int32_t(rng());
                    for (auto* r : both) r->writeDword(Hive::CurrentUser, key, name, number);
                    break;
                }
                case 2: case 3: {
                    const std::string text = pick(texts);
                    for (auto* r : both) r->writeString(Hive::CurrentUser, key, name, text);
                    break;
                }
                case 4: EXPECT_EQ(store->deleteValue(Hive::CurrentUser, key, name),
                                  reference.deleteValue(Hive::CurrentUser, key, name)); break;
                case 5: EXPECT_EQ(store->deleteKeyTree(Hive::CurrentUser, key),
                                  reference.deleteKeyTree(Hive::CurrentUser, key)); break;
                case 6: {
                    const std::string to = pick(keys);
                    if (fakes::FakeRegistry::norm(to).starts_with(fakes::FakeRegistry::norm(key))) break;
                    EXPECT_EQ(store->copyKeyTree(Hive::CurrentUser, key, to),
                              reference.copyKeyTree(Hive::CurrentUser, key, to));
                    break;
                }
                default:
                    ASSERT_TRUE(store->flush());
                    store = p.open();
            }
            for (const std::string& k : keys) {
                SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step) + " " + k);
                ASSERT_EQ(store->keyExists(Hive::CurrentUser, k), reference.keyExists(Hive::CurrentUser, k));
                ASSERT_EQ(contents(*store, k), contents(reference, k));
            }
        }
        EXPECT_TRUE(p.outside.values.empty()) << "nothing of the program's own key reaches the registry";
    }
}

// The marker decides; a folder that cannot be written, or a file there that is
// not ours, never loses what is on the disk.
TEST(PortableStore, TakesTheFileOnlyBesideItsMarkerAndMovesAForeignOneAside) {
    using O = PortableStore::Opened;
    struct Case {
        const char* what;
        bool marker, writable;
        std::optional<std::string> file;
        O opened;
        bool inFile;  // the program's values go to the file, not the registry
    };
    const Case cases[] = {
        {"no marker", false, true, std::nullopt, O::Registry, false},
        {"a read-only stick", true, false, "[" + kRoot + "]\r\nVersion=1\r\n", O::ReadOnly, false},
        {"a first launch", true, true, std::nullopt, O::File, true},
        {"an empty file", true, true, "", O::File, true},
        {"our file", true, true, "[" + kRoot + "\\Settings]\r\nAlphaSet=dword:200\r\n", O::File, true},
        {"another program's file", true, true, "[Window]\r\nWidth=300\r\n", O::Foreign, true},
        {"no text at all", true, true, std::string("\xEF\xBB\xBF\xFF\xFE\0", 6), O::Foreign, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Portable p;
        if (!c.marker) fs::remove(p.folder / settings::kPortableMarker);
        if (c.file) std::ofstream(p.file, std::ios::binary) << *c.file;
        PortableStore store(p.outside, p.t.system);
        EXPECT_EQ(store.open(p.folder, c.writable), c.opened);
        store.writeDword(Hive::CurrentUser, kRoot + "\\Settings", "SecondsView", 1);
        store.writeString(Hive::CurrentUser, settings::kRunKey, settings::kRunValue, "E:\\Lumivo.exe");
        EXPECT_TRUE(store.flush());
        EXPECT_EQ(p.outside.dword(kRoot + "\\Settings", "SecondsView").has_value(), !c.inFile);
        EXPECT_TRUE(p.outside.string(settings::kRunKey, settings::kRunValue)) << "the Run value always";
        if (c.opened == O::Foreign) {
            EXPECT_EQ(store.movedTo(), p.folder / "Lumivo.ini.moved");
            EXPECT_EQ(bytesOf(store.movedTo()), *c.file);
        }
        if (c.inFile) {
            auto again = p.open();
            EXPECT_EQ(again->read(Hive::CurrentUser, kRoot + "\\Settings", "SecondsView").dword, 1);
            EXPECT_EQ(again->read(Hive::CurrentUser, kRoot + "\\Settings", "AlphaSet").dword,
                      c.opened == O::File && c.file && !c.file->empty() ? 200 : 0);
        } else if (c.file) {
            EXPECT_EQ(bytesOf(p.file), *c.file) << "left as it was";
        }
    }
}

// Forty writes are one rewrite; a drive that refuses keeps the old file whole
// and the changes owed until it takes them.
TEST(PortableStore, OneRewriteForManyWritesAndNothingLostWhenTheDriveRefuses) {
    Portable p;
    auto store = p.open();
    for (int i = 0; i < 40; ++i) store->writeDword(Hive::CurrentUser, kRoot + "\\Settings", "V" + std::to_string(i), i);
    store->writeString(Hive::CurrentUser, kRoot + "\\Settings\\Sound", "VoiceType", "Алексей");
    ASSERT_TRUE(store->flush());
    EXPECT_EQ(p.t.system.replaced, 1);
    const std::string written = bytesOf(p.file);
    EXPECT_NE(written.find("[Software\\Vantrel\\Lumivo\\Settings]\r\nV0=dword:0\r\n"), std::string::npos);
    EXPECT_FALSE(written.starts_with("\xEF\xBB\xBF")) << "Windows-1251 while every text fits it";
    EXPECT_TRUE(store->flush()) << "nothing owed";
    EXPECT_EQ(p.t.system.replaced, 1);

    store->writeString(Hive::CurrentUser, kRoot + "\\Settings\\Sound", "VoiceType", "✓");
    p.t.system.refuseReplace = true;
    EXPECT_FALSE(store->flush());
    EXPECT_TRUE(store->owed());
    EXPECT_EQ(bytesOf(p.file), written);
    EXPECT_FALSE(fs::exists(p.folder / "Lumivo.ini.~tmp"));
    p.t.system.refuseReplace = false;
    EXPECT_TRUE(store->flush());
    EXPECT_TRUE(bytesOf(p.file).starts_with("\xEF\xBB\xBF")) << "UTF-8 once a text does not fit";
    EXPECT_EQ(p.open()->read(Hive::CurrentUser, kRoot + "\\Settings\\Sound", "VoiceType").text, "✓");
}

// A whole run of a portable copy: what the user sets goes to the file beside
// the program, nothing to the registry, and another computer's run of the
// same folder starts from it. A file that is not ours is moved aside.
TEST(PortableCopy, ARunLeavesEverythingInItsFolderAndTheNextComputerFindsIt) {
    fs::path ini;
    {
        fakes::TestApp t(true);
        app::Program program(t.app);
        // The installed copy starts for this user and for all.
        const std::string installed = "C:\\Users\\u\\AppData\\Local\\Programs\\Lumivo\\Lumivo.exe";
        for (Hive h : {Hive::CurrentUser, Hive::LocalMachine})
            t.registry.writeString(h, settings::kRunKey, settings::kRunValue, installed);
        program.moduleStartup();
        program.start();
        program.clock().form().paint();  // the load: a first launch
        EXPECT_NE(t.app.load.FirstLaunch5, 0);
        // Confirmed from the shipped defaults (this user's start-up in them):
        // nothing starts a stick's copy on this computer unless asked.
        const fs::path defaults = t.dir / "TempFiles" / "_Default.SetLMV";
        fs::create_directories(defaults.parent_path());
        fs::copy_file(fs::path(LUMIVO_SOURCE_DIR) / ".." / "assets" / "TempFiles" / "_Default.SetLMV", defaults);
        int offered = -1;
        t.ui.onModal = [&](ui::Form& f) {
            offered = f.get<ui::ComboBox>("ComboBox1").itemIndex();
            f.get<ui::Button>("ButtonOk").onClick();
        };
        program.clock().OpenSettings(&defaults);
        t.ui.onModal = nullptr;
        EXPECT_EQ(offered, 0);
        EXPECT_EQ(t.app.settings.AlphaSet, 230) << "the rest of the shipped defaults stand";
        // Asked for, this user's Run value names this copy; unticked, it goes.
        // The other copy's values are left as they were.
        const std::string self = platform::u8string(t.system.exe);
        for (const auto& [asked, user, all] : std::vector<std::tuple<int, std::string, std::string>>{
                 {-1, installed, installed}, {2, self, installed}, {0, "", installed}}) {
            if (asked >= 0) {
                t.app.settings.AutoLaunch = asked;
                t.app.settingsStore.StoreSettings(settings::StoreMode::All);
            }
            EXPECT_EQ(t.registry.read(Hive::CurrentUser, settings::kRunKey, settings::kRunValue).text, user) << asked;
            EXPECT_EQ(t.registry.read(Hive::LocalMachine, settings::kRunKey, settings::kRunValue).text, all) << asked;
        }
        program.clock().MainPoM().item("ViewSecondsA").click();
        reminders::Reminder r;
        r.Name = "Кофе";
        r.TimeH = "10";
        r.TimeM = "30";
        EXPECT_EQ(t.app.remindStore.AddRemind(r), 1);
        program.clock().Timer1Timer();
        ini = t.dir / settings::kPortableFile;
        EXPECT_TRUE(fs::exists(ini));
        EXPECT_EQ(t.system.replaced, 1) << "everything since the last tick is one rewrite";
        EXPECT_FALSE(t.registry.keyExists(Hive::CurrentUser, "Software\\Vantrel"));
        EXPECT_NE(bytesOf(ini).find("SecondsView=dword:1"), std::string::npos);
        program.finish();
        fs::copy_file(ini, t.dir.parent_path() / "carried.ini", fs::copy_options::overwrite_existing);
    }
    fakes::TestApp other(true);
    fs::copy_file(other.dir.parent_path() / "carried.ini", other.dir / settings::kPortableFile);
    app::Program program(other.app);
    program.moduleStartup();
    program.start();
    program.clock().form().paint();
    EXPECT_EQ(other.app.load.FirstLaunch5, 0) << "no first launch on the next computer";
    EXPECT_TRUE(other.app.settings.SecondsView);
    EXPECT_EQ(other.app.remindStore.AddRemind([] {
        reminders::Reminder r;
        r.Name = "Кофе";
        r.TimeH = "10";
        r.TimeM = "30";
        return r;
    }()), 0) << "the reminder came along: the same time is taken";
    EXPECT_FALSE(other.registry.keyExists(Hive::CurrentUser, "Software\\Vantrel"));
    program.finish();
    fs::remove(other.dir.parent_path() / "carried.ini");

    fakes::TestApp foreign(true);
    std::ofstream(foreign.dir / settings::kPortableFile) << "[Window]\r\nWidth=300\r\n";
    app::Program again(foreign.app);
    again.moduleStartup();
    again.start();
    ASSERT_FALSE(foreign.ui.boxes.empty());
    EXPECT_NE(foreign.ui.boxes[0].text.find("переименован в Lumivo.ini.moved"), std::string::npos);
    again.clock().form().paint();
    EXPECT_NE(foreign.app.load.FirstLaunch5, 0) << "a first launch";
    EXPECT_EQ(bytesOf(foreign.dir / "Lumivo.ini.moved"), "[Window]\r\nWidth=300\r\n");
    again.finish();

    // A folder that cannot be written (a CD): the registry, told once, in a balloon and in the log.
    fakes::TestApp cd(true);
    fs::remove_all(cd.dir / "TempFiles");
    std::ofstream(cd.dir / "TempFiles") << "x";
    app::Program onCd(cd.app);
    onCd.moduleStartup();
    onCd.start();
    onCd.clock().form().paint();
    cd.app.settingsStore.StoreConfirmed();
    for (int i = 0; i < 3; ++i) {
        onCd.clock().Timer1Timer();
        cd.ui.deliverPosted();
    }
    EXPECT_EQ(cd.app.storeOpened, PortableStore::Opened::ReadOnly);
    EXPECT_EQ(cd.ui.peer(onCd.clock().form()).balloons.size(), 1u);
    EXPECT_NE(bytesOf(cd.app.guard.logFile()).find("только для чтения"), std::string::npos);
    EXPECT_EQ(cd.app.settings.AutoLaunch, 0) << "a CD's copy offers no start-up either";
    EXPECT_TRUE(cd.registry.keyExists(Hive::CurrentUser, kRoot));
    EXPECT_FALSE(fs::exists(cd.dir / settings::kPortableFile));
    onCd.finish();
}

// A file edited by hand, or damaged, loads as damaged registry values do:
// every setting valid, the clock shown. Values come as the store writes them,
// as a person would type them (no type mark), or as no number at all.
TEST(PortableCopy, AnyFileContentsLoadIntoValidSettingsAndShowTheClock) {
    const std::vector<std::string> values = {"dword:1",   "dword:0", "dword:-1", "dword:255", "dword:2147483647",
                                             "dword:99x", "200",     "",         "Arial",     "text:dword:5",
                                             "\"1\"",     "dword:-2147483648",     "Мужской голос"};
    fakes::TestApp t(true);
    app::Program program(t.app);
    program.moduleStartup();
    program.start();
    std::mt19937 rng(20261209);
    for (int i = 0; i < 1000; ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        std::string text = rng() % 5 == 0 ? "\xEF\xBB\xBF" : "";
        for (settings::Group g : {settings::Group::Settings, settings::Group::Sound, settings::Group::Font,
                                  settings::Group::Style, settings::Group::Position, settings::Group::QuickExit}) {
            if (rng() % 4 == 0) continue;
            text += "[" + std::string(settings::registryKey(g)) + "]\r\n";
            for (const settings::Field& f : settings::fields())
                if (f.group == g && rng() % 3 != 0) text += std::string(f.value) + "=" + values[rng() % values.size()] + "\r\n";
            if (rng() % 6 == 0) text += "no equals sign\r\n[" + kRoot + "]\r\n";
        }
        std::ofstream(t.dir / settings::kPortableFile, std::ios::binary | std::ios::trunc) << text;
        t.app.openStore();
        ASSERT_EQ(t.app.storeOpened, PortableStore::Opened::File);
        if (i % 2 == 0) t.app.settings = settings::FirstRun();
        t.app.load = {};
        program.clock().form().hide();
        t.app.settingsStore.LoadSettings();
        for (const settings::Field& f : settings::fields()) ASSERT_TRUE(f.valid(t.app.settings)) << f.name;
        if (text.find("AutoLaunch=") == std::string::npos) {
            ASSERT_EQ(t.app.settings.AutoLaunch, 0) << "unasked";
        }
        ASSERT_EQ(t.app.load.Loading, 1);
        ASSERT_TRUE(program.clock().form().visible());
    }
    program.finish();
    EXPECT_FALSE(t.registry.keyExists(Hive::CurrentUser, kRoot));
}

// Nothing moves between the registry and the file by itself; a backup file
// carries settings and reminders from the installed copy to the portable one
// and back, unchanged.
TEST(PortableCopy, ABackUpFileCarriesEverythingBetweenTheInstalledAndThePortableCopy) {
    struct NoView : settings::BackUpView {
        void showSettings(const settings::Settings&) override {}
        void listReminds() override {}
        void markChanged() override {}
        void showLastBackUp(const std::string&) override {}
    } view;
    const fs::path carried = fs::temp_directory_path() / "lumivo-carried.SetLMV";
    // Installed, then portable, then installed again: each loads what the one before saved.
    int alpha = 0;
    for (const bool portable : {false, true, false}) {
        fakes::TestApp t(portable);
        t.app.openStore();
        t.app.load.Loading = 1;
        t.app.backUp.BackUpFileName = platform::u8string(carried);
        if (alpha == 0) {
            t.app.settings.VoiceType = "Мужской голос";
            t.app.settings.QSDModeWork = 2;
            reminders::Reminder r;
            r.Name = "Обед";
            r.TimeH = "13";
            r.TimeM = "00";
            ASSERT_EQ(t.app.remindStore.AddRemind(r), 1);
        } else {
            t.app.backUp.ReadBackUpFile(view);
            EXPECT_EQ(t.app.settings.AlphaSet, alpha) << portable;
            EXPECT_EQ(t.app.settings.VoiceType, "Мужской голос") << portable;
            EXPECT_EQ(t.app.settings.QSDModeWork, 2) << portable;
            // What the file holds once written, or what the registry holds.
            PortableStore reopened{t.registry, t.system};
            if (portable) {
                ASSERT_TRUE(t.store.flush());
                ASSERT_EQ(reopened.open(t.dir, true), PortableStore::Opened::File);
            }
            platform::Registry& stored = portable ? static_cast<platform::Registry&>(reopened) : t.registry;
            EXPECT_EQ(stored.read(Hive::CurrentUser, kRoot + "\\Remind\\Remind1", "Name").text, "Обед") << portable;
            EXPECT_EQ(t.registry.keyExists(Hive::CurrentUser, "Software\\Vantrel"), !portable);
            EXPECT_EQ(fs::exists(t.dir / settings::kPortableFile), portable);
        }
        alpha = t.app.settings.AlphaSet = alpha == 0 ? 140 : alpha + 40;
        t.app.backUp.WriteBackUpFile(view);
    }
    fs::remove(carried);
}

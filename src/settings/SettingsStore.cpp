#include "settings/SettingsStore.h"
#include <string>
#include "errors/ErrorLog.h"
#include "platform/Failure.h"
#include "platform/Path.h"

namespace settings {

using platform::Hive;
using platform::RegValue;

namespace {

constexpr Hive kUser = Hive::CurrentUser;
constexpr Hive kMachine = Hive::LocalMachine;

// One stored value into its field. A value of the wrong type counts as an
// invalid one (its replacement, or the field stays), so that one odd value
// neither stops the load nor goes unnoticed.
void readValue(platform::Registry& reg, const Field& f, const Settings& earlier, Loaded& out) {
    Settings& s = out.record;
    if (f.regMissing.kind == Missing::WhenRead) f.set(s, f.regMissing.value);
    const RegValue v = reg.read(kUser, registryKey(f.group), f.value);
    if (v.missing()) {
        if (f.type == Type::StyleBit) f.set(s, 0);
        return;
    }
    out.found.set(indexOf(f));
    if (f.type == Type::Text) {
        if (v.type == RegValue::Type::String) s.*f.text = v.text;
        else out.wrongType = true;
        return;
    }
    const bool number = v.type == RegValue::Type::Dword;
    if (!number) out.wrongType = true;
    switch (f.type) {
        case Type::Bool:
            if (number) f.set(s, v.dword != 0);
            break;
        case Type::StyleBit: f.set(s, number && v.dword == 1); break;
        case Type::Int:
            if (number && (!f.ranged() || (v.dword >= f.lo && v.dword <= f.hi))) f.set(s, v.dword);
            else Replace(f, f.regInvalid, earlier, s);
            break;
        case Type::Text: break;
    }
}

}  // namespace

Loaded ReadRegistry(platform::Registry& reg, const Settings& current, bool win9x, bool values) {
    Loaded out{current, {}, false};
    Settings& s = out.record;
    for (const Field& f : fields()) {
        if (f.regMissing.kind == Missing::AtLoad) f.set(s, f.regMissing.value);
        if (f.textAtLoad) s.*f.text = f.textAtLoad;
    }
    if (values) {
        for (const Field* f : readOrder()) {
            if (f->has(kNotOn9x) && win9x) continue;
            readValue(reg, *f, current, out);
            if (f->has(kNotWithChime) && s.SoundHEnabled > 0 && f->get(s) > 0) f->set(s, 0);
            if (f->has(kHiddenOn9x) && win9x) f->set(s, 0);
            if (f->has(kNotBlack)) f->set(s, VisibleColor(f->get(s)));
        }
    }
    KeepValid(s);
    return out;
}

Store::Store(Ports ports, errors::Guard& guard, const core::Session& session, Settings& settings, LoadState& load,
             core::ClockFace& face)
    : ports_(ports), guard_(guard), session_(session), settings_(settings), load_(load), face_(face) {}

bool Store::LoadSettings() {
    bool wrongType = false;
    const bool loaded = guard_(errors::code::LoadSettings, [&] {
        const Settings earlier = settings_;
        if (!ports_.registry.keyExists(kUser, registryKey(Group::Settings))) {
            load_.FirstLaunch5 = 1;
            load_.FirstLaunchOpen = true;
        }
        const Loaded in = ReadRegistry(ports_.registry, settings_, session_.Win9xMode, load_.FirstLaunch5 != 1);
        wrongType = in.wrongType;
        settings_ = in.record;
        if (visiting_ && !in.found[indexOf(field("AutoLaunch"))]) settings_.AutoLaunch = 0;
        // A window still fading in, or set apart by the settings window, keeps its opacity.
        if (in.found[indexOf(field("AlphaSet"))] && face_.opacity() == earlier.AlphaSet)
            face_.setOpacity(settings_.AlphaUsed == 1 ? settings_.AlphaSet : 255);
        face_.apply(settings_);
        face_.showLoaded();
        load_.Loading = 1;
    });
    // Reported once, after the clock is up; a failure that stopped the load
    // has been reported already.
    if (loaded && wrongType) {
        const errors::Code& c = errors::code::LoadSettings;
        guard_.report(errors::errorCode(c, c.firstStep), platform::ConversionError("").className(), "");
    }
    return loaded;
}

void Store::write(const Field& f) {
    platform::Registry& reg = ports_.registry;
    const char* key = registryKey(f.group);
    switch (f.type) {
        case Type::Text: reg.writeString(kUser, key, f.value, settings_.*f.text); break;
        case Type::Int: reg.writeDword(kUser, key, f.value, f.get(settings_)); break;
        case Type::Bool:
        case Type::StyleBit: reg.writeDword(kUser, key, f.value, f.get(settings_) ? 1 : 0); break;
    }
}

void Store::StoreConfirmed() {
    load_.FirstLaunchOpen = false;
    StoreSettings(StoreMode::All);
}

void Store::StoreSettings(StoreMode mode) {
    // Before the first load has run through, the record holds no stored value
    // yet: a command or a session's end that came before the first paint would
    // write it over every setting the user has.
    if (load_.FirstLaunchOpen || load_.Loading == 0) return;
    guard_(errors::code::StoreSettings, [&] {
        platform::Registry& reg = ports_.registry;
        reg.writeString(kUser, kRootKey, "Version", session_.LMVVersion);
        reg.writeString(kUser, kRootKey, "ExePatch", platform::u8string(ports_.system.programFile()));
        const bool all = mode == StoreMode::All;
        for (const Field& f : fields()) {
            if (!all && f.group != Group::Position) continue;
            if (f.has(kBackUpDate)) continue;
            if (f.has(kNotOn9x) && session_.Win9xMode) continue;
            // Its fall-back may change AutoLaunch, and its message box lets
            // other handlers run: every value is taken when it is written.
            if (f.has(kAfterAutoStart)) ApplyAutoStart();
            write(f);
        }
        if (all) StoreLastBackUp();
    });
}

void Store::ApplyAutoStart() {
    guard_(errors::code::ApplyAutoStart, [&] {
        platform::Registry& reg = ports_.registry;
        const int mode = settings_.AutoLaunch;
        if (mode < 0 || mode > 2) return;
        const std::string exe = platform::u8string(ports_.system.programFile());
        const auto drop = [&](Hive hive) {
            if (!visiting_ || reg.read(hive, kRunKey, kRunValue).text == exe) reg.deleteValue(hive, kRunKey, kRunValue);
        };
        try {
            switch (mode) {
                case 0:
                    reg.createKey(kMachine, kRunKey);
                    drop(kMachine);
                    reg.createKey(kUser, kRunKey);
                    drop(kUser);
                    break;
                case 1:
                    reg.writeString(kMachine, kRunKey, kRunValue, exe);
                    drop(kUser);
                    break;
                default:
                    reg.writeString(kUser, kRunKey, kRunValue, exe);
                    drop(kMachine);
                    break;
            }
            return;
        } catch (...) {
            // Typically no right to write for all users: do what this user may.
            // Only a failure here is reported.
        }
        if (mode == 0) {
            drop(kUser);
            return;
        }
        reg.writeString(kUser, kRunKey, kRunValue, exe);
        settings_.AutoLaunch = 2;
        // Only a narrowed choice needs telling: "only for me" is what the user
        // asked for even when an old all-users value cannot be cleared.
        if (mode == 1) {
            ports_.ui.messageBox(
                "Вам запрещен доступ к общим разделам реестра, автозагрузка при старте включена только для этого "
                "пользователя.",
                "Предупреждение...", ui::kMbIconExclamation | ui::kMbSystemModal);
        }
    });
}

void Store::StoreLastBackUp() {
    if (load_.FirstLaunchOpen) return;
    guard_(errors::code::StoreLastBackUp, [&] {
        ports_.registry.writeString(kUser, registryKey(Group::Settings), field("LastBackUp").value,
                                    settings_.LastBackUp);
    });
}

}  // namespace settings

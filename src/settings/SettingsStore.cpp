#include "settings/SettingsStore.h"
#include <cstdint>
#include <string>
#include "app/App.h"
#include "app/ClockWindow.h"
#include "errors/ErrorLog.h"
#include "platform/Failure.h"
#include "platform/Path.h"
#include "settings/RegistryKeys.h"

namespace settings {

using platform::Hive;
using platform::RegValue;

namespace {

constexpr Hive kUser = Hive::CurrentUser;
constexpr Hive kMachine = Hive::LocalMachine;

// Beyond any screen; keeps a corrupted size out of the pixel arithmetic.
constexpr int kMaxFontSize = 1000;

// The values of one load. A value of the wrong type is taken as an invalid one
// and remembered, so that one odd value neither stops the load (which would
// leave the clock hidden) nor goes unreported.
class Reader {
public:
    explicit Reader(platform::Registry& reg) : reg_(reg) {}
    bool wrongType = false;

    enum class Got { Missing, Valid, Replaced };
    // `field` takes the value when it lies in lo..hi, otherwise the
    // replacement; a missing value leaves it alone.
    Got ranged(const char* key, const char* name, int& field, int lo, int hi, int replacement) {
        const RegValue v = reg_.read(kUser, key, name);
        if (v.missing()) return Got::Missing;
        if (isDword(v) && v.dword >= lo && v.dword <= hi) {
            field = v.dword;
            return Got::Valid;
        }
        field = replacement;
        return Got::Replaced;
    }
    // A value without a valid range: one of the wrong type leaves `field` alone.
    bool number(const char* key, const char* name, std::int32_t& field) {
        const RegValue v = reg_.read(kUser, key, name);
        if (!isDword(v)) return false;
        field = v.dword;
        return true;
    }
    void boolean(const char* key, const char* name, bool& field) {
        std::int32_t n = 0;
        if (number(key, name, n)) field = n != 0;
    }
    void text(const char* key, const char* name, std::string& field) {
        const RegValue v = reg_.read(kUser, key, name);
        if (v.missing()) return;
        if (v.type == RegValue::Type::String)
            field = v.text;
        else
            wrongType = true;
    }
    bool flagOn(const char* key, const char* name) {
        std::int32_t n = 0;
        return number(key, name, n) && n == 1;
    }

private:
    bool isDword(const RegValue& v) {
        if (v.type == RegValue::Type::Dword) return true;
        if (!v.missing()) wrongType = true;
        return false;
    }
    platform::Registry& reg_;
};

app::ClockWindow& clockOf(app::App& app) {
    if (!app.clock_window) throw platform::WindowError("no clock window");
    return *app.clock_window;
}

using Got = Reader::Got;

void loadBody(app::App& app, Reader& in) {
    Settings& st = app.settings;
    app::StartupState& s = app.start;
    st.TimeOfLow = 0;
    st.TimeOfLowF = 22;
    st.TimeOfLowS = 9;
    st.AutoLaunch = 1;
    st.AlphaUsed = 1;
    st.LastBackUp = "Неизвестно";
    const int earlierAlphaSet = st.AlphaSet;
    const int earlierSoundHEnabled = st.SoundHEnabled;
    const int earlierVoiceEnabled = st.VoiceEnabled;

    if (!app.registry.keyExists(kUser, kSettingsKey)) s.FirstLaunch5 = 1;
    app::ClockWindow& clock = clockOf(app);
    ui::Form& form = clock.form();
    ui::PopupMenu& menu = clock.MainPoM();

    if (s.FirstLaunch5 != 1) {
        in.ranged(kSettingsKey, "AlphaUsed", st.AlphaUsed, 0, 1, 1);
        if (in.ranged(kSettingsKey, "AlphaSet", st.AlphaSet, 100, 255, 255) != Got::Missing) {
            // A window that is still fading in, or was set apart by the
            // settings window, keeps its opacity.
            if (form.alphaBlendValue() == earlierAlphaSet) form.setAlphaBlendValue(st.AlphaUsed == 1 ? st.AlphaSet : 255);
        }
        if (!s.Win9xMode) {
            in.boolean(kSettingsKey, "SecondsView", st.SecondsView);
            menu.item("ViewSecondsA").checked = st.SecondsView;
        }
        in.boolean(kSettingsKey, "ZeroFirstView", st.ZeroFirstView);
        menu.item("NillFirst").checked = st.ZeroFirstView;
        in.boolean(kSettingsKey, "AMPM24", st.AMPM24);
        menu.item("PMAM24").checked = st.AMPM24;
        if (in.ranged(kSettingsKey, "StayOnTop", st.StayOnTop, 0, 1, 1) != Got::Missing) {
            menu.item("OnTopPOM").checked = st.StayOnTop == 1;
            form.setStayOnTop(st.StayOnTop == 1);
            clock.ReAddTrayIcon();  // the style change recreates the window
        }
        in.ranged(kSettingsKey, "AutoLaunch", st.AutoLaunch, 0, 2, 0);
        in.text(kSettingsKey, "BackUp", st.LastBackUp);
        std::int32_t item = 0;
        if (in.number(kSettingsKey, "ItemQE", item)) menu.item("QuickExit").visible = item != 0;
        if (in.number(kSettingsKey, "ItemST", item)) menu.item("SetTime").visible = item != 0;
        if (s.Win9xMode) menu.item("SetTime").visible = false;  // the system has no such panel there
        st.GlobalHotkeys = 1;
        in.ranged(kSettingsKey, "GlobalHotkeys", st.GlobalHotkeys, 0, 1, 1);

        in.ranged(kSoundKey, "TimeOfLow", st.TimeOfLow, 0, 1, 0);
        // Quiet hours with a made-up bound would silence the wrong hours.
        if (in.ranged(kSoundKey, "TimeOfLowF", st.TimeOfLowF, 0, 23, 22) == Got::Replaced) st.TimeOfLow = 0;
        if (in.ranged(kSoundKey, "TimeOfLowS", st.TimeOfLowS, 0, 23, 9) == Got::Replaced) st.TimeOfLow = 0;
        in.ranged(kSoundKey, "SoundHEnabled", st.SoundHEnabled, 0, 2, earlierSoundHEnabled);
        in.ranged(kSoundKey, "SoundHType", st.SoundHType, 0, 4, 0);
        in.ranged(kSoundKey, "VoiceEnabled", st.VoiceEnabled, 0, 2, earlierVoiceEnabled);
        if (st.SoundHEnabled > 0 && st.VoiceEnabled > 0) st.VoiceEnabled = 0;  // they would talk over each other
        in.text(kSoundKey, "VoiceType", st.VoiceType);

        ui::Font font = clock.TimeMain().font();
        std::int32_t n = 0;
        if (in.number(kFontKey, "Size", n) && n >= 1 && n <= kMaxFontSize) font.size = n;
        if (in.number(kFontKey, "Color", n)) font.color = ui::Color(std::uint32_t(n));
        in.text(kFontKey, "Name", font.name);
        font.bold = in.flagOn(kStyleKey, "Bold");
        font.italic = in.flagOn(kStyleKey, "Italic");
        font.underline = in.flagOn(kStyleKey, "UnderLine");
        font.strikeOut = in.flagOn(kStyleKey, "StrikeOut");
        clock.TimeMain().setFont(font);

        std::int32_t left = form.bounds().left, top = form.bounds().top;
        const bool hasLeft = in.number(kPositionKey, "Left", left);
        const bool hasTop = in.number(kPositionKey, "Top", top);
        if (hasLeft || hasTop) form.setPosition(left, top);

        in.ranged(kQuickExitKey, "QSDIcon", st.QSDGreen, 0, 1, 0);
        ui::Control& green = form.get<ui::Image>("ImageGreen");
        green.setVisible(false);
        if (st.QSDGreen != 0 && st.QSDGreen != 1) st.QSDGreen = 0;
        if (st.QSDGreen == 1 && app.qsd.QSDWork == 0) {
            const int indicatorTop = clock.TimeMain().bounds().height / 8;
            green.setTop(indicatorTop);
            green.setVisible(true);
            for (const char* name : {"ImageRed", "ImageOrange", "ImageYellow"})
                form.get<ui::Image>(name).setTop(indicatorTop);
        }
        in.ranged(kQuickExitKey, "TypeTime", st.QSDTypeTime, 0, 1, 0);
        in.ranged(kQuickExitKey, "ModeWork", st.QSDModeWork, 0, 3, 0);
        in.ranged(kQuickExitKey, "MsgDlg", st.QSDMsgDlg, 0, 1, 0);

        clock.ApplyClockFont();
    } else {
        // Nothing stored yet: the marks still have to show the formats in use,
        // or the first click on one would seem to do nothing.
        if (!s.Win9xMode) menu.item("ViewSecondsA").checked = st.SecondsView;
        menu.item("NillFirst").checked = st.ZeroFirstView;
        menu.item("PMAM24").checked = st.AMPM24;
    }

    form.show();
    s.Loading = 1;
}

void storeBody(app::App& app, int positionOnly) {
    platform::Registry& reg = app.registry;
    const Settings& st = app.settings;
    app::ClockWindow& clock = clockOf(app);
    reg.writeString(kUser, kRootKey, "Version", app.start.LMVVersion);
    reg.writeString(kUser, kRootKey, "ExePatch", platform::u8string(app.system.programFile()));

    if (positionOnly != 1) {
        reg.writeDword(kUser, kSettingsKey, "AlphaSet", st.AlphaSet);
        reg.writeDword(kUser, kSettingsKey, "AlphaUsed", st.AlphaUsed);
        if (!app.start.Win9xMode) reg.writeDword(kUser, kSettingsKey, "SecondsView", st.SecondsView ? 1 : 0);
        reg.writeDword(kUser, kSettingsKey, "ZeroFirstView", st.ZeroFirstView ? 1 : 0);
        reg.writeDword(kUser, kSettingsKey, "AMPM24", st.AMPM24 ? 1 : 0);
        reg.writeDword(kUser, kSettingsKey, "StayOnTop", st.StayOnTop);
        ApplyAutoStart(app);
        // Read again: the fall-back may have changed it, and its message box
        // let other handlers run meanwhile.
        reg.writeDword(kUser, kSettingsKey, "AutoLaunch", app.settings.AutoLaunch);
        ui::PopupMenu& menu = clock.MainPoM();
        reg.writeDword(kUser, kSettingsKey, "ItemQE", menu.item("QuickExit").visible ? 1 : 0);
        reg.writeDword(kUser, kSettingsKey, "ItemST", menu.item("SetTime").visible ? 1 : 0);
        reg.writeDword(kUser, kSettingsKey, "GlobalHotkeys", st.GlobalHotkeys);

        reg.writeDword(kUser, kSoundKey, "TimeOfLow", st.TimeOfLow);
        reg.writeDword(kUser, kSoundKey, "TimeOfLowF", st.TimeOfLowF);
        reg.writeDword(kUser, kSoundKey, "TimeOfLowS", st.TimeOfLowS);
        reg.writeDword(kUser, kSoundKey, "SoundHEnabled", st.SoundHEnabled);
        reg.writeDword(kUser, kSoundKey, "SoundHType", st.SoundHType);
        reg.writeDword(kUser, kSoundKey, "VoiceEnabled", st.VoiceEnabled);
        reg.writeString(kUser, kSoundKey, "VoiceType", st.VoiceType);

        const ui::Font font = clock.TimeMain().font();
        reg.writeDword(kUser, kFontKey, "Size", font.size);
        reg.writeDword(kUser, kFontKey, "Color", std::int32_t(font.color));
        reg.writeString(kUser, kFontKey, "Name", font.name);
        reg.writeDword(kUser, kStyleKey, "Bold", font.bold ? 1 : 0);
        reg.writeDword(kUser, kStyleKey, "Italic", font.italic ? 1 : 0);
        reg.writeDword(kUser, kStyleKey, "UnderLine", font.underline ? 1 : 0);
        reg.writeDword(kUser, kStyleKey, "StrikeOut", font.strikeOut ? 1 : 0);
    }

    const ui::Rect& at = clock.form().bounds();
    reg.writeDword(kUser, kPositionKey, "Left", at.left);
    reg.writeDword(kUser, kPositionKey, "Top", at.top);

    if (positionOnly != 1) {
        reg.writeDword(kUser, kQuickExitKey, "QSDIcon", st.QSDGreen);
        reg.writeDword(kUser, kQuickExitKey, "TypeTime", st.QSDTypeTime);
        reg.writeDword(kUser, kQuickExitKey, "ModeWork", st.QSDModeWork);
        reg.writeDword(kUser, kQuickExitKey, "MsgDlg", st.QSDMsgDlg);
        StoreLastBackUp(app);
    }
}

}  // namespace

void LoadSettings(app::App& app) {
    Reader in(app.registry);
    const bool loaded = app.guard(app::fixedCode("0.013 - 006.0"), [&] { loadBody(app, in); });
    // Reported once, after the clock is up; a failure that stopped the load
    // has been reported already.
    if (loaded && in.wrongType) {
        app.err.ErrorStep = 0;
        app.log().log("0.013 - 006.0", platform::ConversionError("").className(), "");
    }
}

void StoreSettings(app::App& app, int positionOnly) {
    app.guard(app::fixedCode("0.013 - 005.0"), [&] { storeBody(app, positionOnly); });
}

void ApplyAutoStart(app::App& app) {
    app.guard(app::fixedCode("0.013 - 004.0"), [&] {
        platform::Registry& reg = app.registry;
        const int mode = app.settings.AutoLaunch;
        if (mode < 0 || mode > 2) return;
        const std::string exe = platform::u8string(app.system.programFile());
        try {
            switch (mode) {
                case 0:
                    reg.createKey(kMachine, kRunKey);
                    reg.deleteValue(kMachine, kRunKey, kRunValue);
                    reg.createKey(kUser, kRunKey);
                    reg.deleteValue(kUser, kRunKey, kRunValue);
                    break;
                case 1:
                    reg.writeString(kMachine, kRunKey, kRunValue, exe);
                    reg.deleteValue(kUser, kRunKey, kRunValue);
                    break;
                default:
                    reg.writeString(kUser, kRunKey, kRunValue, exe);
                    reg.deleteValue(kMachine, kRunKey, kRunValue);
                    break;
            }
            return;
        } catch (...) {
            // Typically no right to write for all users: do what this user may.
            // Only a failure here is reported.
        }
        if (mode == 0) {
            reg.deleteValue(kUser, kRunKey, kRunValue);
            return;
        }
        reg.writeString(kUser, kRunKey, kRunValue, exe);
        app.settings.AutoLaunch = 2;
        // Only a narrowed choice needs telling: "only for me" is what the user
        // asked for even when an old all-users value cannot be cleared.
        if (mode == 1) {
            app.ui.messageBox(
                "Вам запрещен доступ к общим разделам реестра, автозагрузка при старте включена только для этого "
                "пользователя.",
                "Предупреждение...", ui::kMbIconExclamation | ui::kMbSystemModal);
        }
    });
}

void StoreLastBackUp(app::App& app) {
    app.guard(app::fixedCode("0.013 - 001.0"), [&] {
        app.registry.writeString(kUser, kSettingsKey, "BackUp", app.settings.LastBackUp);
    });
}

}  // namespace settings

#include "app/ClockWindow.h"
#include <cstdio>
#include "app/App.h"
#include "app/AuxWindows.h"
#include "app/ClockFace.h"
#include "forms/ClockMenuIds.h"
#include "forms/Forms.h"
#include "platform/Failure.h"
#include "platform/Path.h"
#include "quickexit/Engine.h"
#include "reminders/Scheduler.h"
#include "settings/SettingsStore.h"
#include "sound/Chime.h"
#include "sound/ReminderSound.h"

namespace app {

namespace {
constexpr unsigned kWmLButtonDblClk = 0x203;
constexpr unsigned kWmRButtonDown = 0x204;
constexpr unsigned kMbDefault = 0;
}  // namespace

bool HibernationAllowed(App& app) {
    if (app.start.Win9xMode) return false;
    return app.power.hibernationAllowed();
}

ClockWindow::ClockWindow(App& app) : app_(app), form_(forms::build(forms::clockForm(), app.ui)) {
    timeMain_ = &form_->get<ui::Label>("TimeMain");
    timeShadow_ = &form_->get<ui::Label>("TimeShadow");
    timeSize_ = &form_->get<ui::Label>("TimeSize");
    TrayIconData.tip = "Lumivo.XP";
    form_->freeOnClose = false;  // the main window: its close ends the message loop

    form_->onCreate = [this] { FormCreate(); };
    form_->onShow = [this] { FormShow(); };
    form_->onPaint = [this] { FormPaint(); };
    form_->onCloseQuery = [this](bool& can) { FormCloseQuery(can); };
    form_->onClose = [this] { FormClose(); };
    form_->onMessage = [this](unsigned m, std::uintptr_t w, std::intptr_t l) { return FormMessage(m, w, l); };
    Timer1().onTimer = [this] { Timer1Timer(); };
    TimerMySnd().onTimer = [this] { sound::TimerMySndTimer(app_); };
    form_->timer("TimerSndPause").onTimer = [this] { sound::TimerSndPauseTimer(app_); };
    for (ui::Label* l : {timeMain_, timeShadow_, timeSize_}) {
        l->onMouseDown = [this](const ui::MouseEvent& e) { TimeMouseDown(e); };
        l->onMouseMove = [this](const ui::MouseEvent& e) { TimeMouseMove(e); };
        l->onMouseUp = [this](const ui::MouseEvent& e) { TimeMouseUp(e); };
    }
    MainPoM().onPopup = [this] { MainPoMPopup(); };

    MainPoM().item("N6").onClick = [this] { sound::N6Click(app_); };
    bindMenu("N8", "0.001 - 0030.", &ClockWindow::N8Click);
    bindMenu("HidePOM", "0.001 - 009.", &ClockWindow::HidePOMClick);
    bindMenu("SoundDiss", "0.001 - 030.", &ClockWindow::SoundDissClick);
    bindMenu("ViewSecondsA", "0.001 - 007.", &ClockWindow::ViewSecondsAClick);
    bindMenu("NillFirst", "0.001 - 032.", &ClockWindow::NillFirstClick);
    bindMenu("PMAM24", "0.001 - 033.", &ClockWindow::PMAM24Click);
    bindMenu("SetTime", "0.001 - 015.", &ClockWindow::SetTimeClick);
    bindMenu("HelpSec", "0.001 - 031.", &ClockWindow::HelpSecClick);
    bindMenu("ExitPOM", "0.001 - 014.", &ClockWindow::ExitPOMClick);
    MainPoM().item("OnTopPOM").onClick = [this] {
        app_.guard({"0.001 - 008."}, [this] { OnTopPOMClick(); }, [this] {
            return errors::Dump().add("OnTopPOM.checked", MainPoM().item("OnTopPOM").checked)
                .add("StayOnTop", app_.settings.StayOnTop);
        });
    };
    MainPoM().item("N4").onClick = [this] { app_.guard(fixedCode("0.001 - 034.0"), [this] { N4Click(); }); };
    MainPoM().item("Err").onClick = [this] { app_.guard(fixedCode("0.001 - Test"), [this] { ErrClick(); }); };
    auto modalDump = [this] { return errors::Dump().add("ShowModalRes", app_.start.ShowModalRes); };
    MainPoM().item("QuickExit").onClick = [this, modalDump] { app_.guard({"0.001 - 021."}, [this] { QuickExitClick(); }, modalDump); };
    MainPoM().item("AboutPro").onClick = [this, modalDump] { app_.guard({"0.001 - 019."}, [this] { AboutProClick(); }, modalDump); };
    MainPoM().item("N2").onClick = [this] {
        app_.guard({"0.001 - 017."}, [this] { N2Click(); }, [this] {
            return errors::Dump().add("ShowModalRes", app_.start.ShowModalRes).add("ExitMode", app_.start.ExitMode);
        });
    };
    app_.clock_window = this;
}

ClockWindow::~ClockWindow() {
    if (app_.clock_window == this) app_.clock_window = nullptr;
}

void ClockWindow::bindMenu(const char* item, const char* code, void (ClockWindow::*handler)()) {
    MainPoM().item(item).onClick = [this, code, handler] { app_.guard({code}, [this, handler] { (this->*handler)(); }); };
}

// ---- shared procedures -------------------------------------------------------

void ClockWindow::BringToFront() {
    app_.ui.restoreApp();
    app_.audio.messageBeep(kMbDefault);
    app_.system.bringToFront(form_->handle());
    app_.ui.hideAppTaskbarWindow();
}

void ClockWindow::ReAddTrayIcon() {
    form_->tray(false, TrayIconData);
    form_->tray(true, TrayIconData);
}

void ClockWindow::Restore() {
    app_.start.ClockShown = true;
    BringToFront();
}

// Pure black would be see-through, so a black clock is shown in dark grey.
void ClockWindow::ApplyClockFont() {
    ui::Font f = timeMain_->font();
    if (f.color == ui::kBlack) {
        f.color = forms::kShadowColor;
        timeMain_->setFont(f);
    }
    ui::Font shadow = f;
    shadow.color = forms::kShadowColor;
    timeShadow_->setFont(shadow);
    ui::Font size = f;
    size.color = ui::kBlack;
    timeSize_->setFont(size);
    const ui::Rect& s = timeSize_->bounds();
    timeMain_->setSize(s.width, s.height);
    timeShadow_->setSize(s.width, s.height);
}

void ClockWindow::RgnByMask(ui::Color mask) {
    app_.guard(fixedCode("0.001 - 035.0"), [&] {
        RegionHeight = form_->bounds().height;
        const ui::Bitmap image = form_->captureClient();
        const std::vector<ui::Rect> runs = maskRuns(image, mask);
        form_->setRegion(&runs);
    });
}

// ---- creation, showing, painting, closing ---------------------------------------

void ClockWindow::FormCreate() {
    app_.guard({"0.001 - 012."}, [&] {
        StartupState& s = app_.start;
        s.ClockShown = true;
        s.LMVName = "Lumivo.XP";
        s.LMVVersion = "1.1.9x.ru";
        s.LMVVersionName = "Relaze";
        s.LMVVersionTitle = "Предназначена для Windows 9x и выше.";
        app_.err.ErrorStep = 0;
        s.Win9xMode = false;
        const platform::OsVersion v = app_.system.version();
        if (v.major == 4 && v.minor >= 10) {
            MainPoM().item("SetTime").visible = false;
            ui::MenuItem& secs = MainPoM().item("ViewSecondsA");
            secs.checked = false;
            secs.visible = false;
            app_.settings.SecondsView = false;
            form_->setTransparentColor(false, ui::kBlack);
            form_->setAlphaBlend(false);
            s.Win9xMode = true;
        } else if (v.major < 4 || (v.major == 4 && v.minor < 10)) {
            s.FEExit = 1;
            s.OSExit = 1;
        }
        app_.err.ErrorStep = 1;
        app_.ui.hideAppTaskbarWindow();
        s.WinV = std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build);
        s.ErrLaunchMsg = false;
        app_.err.ErrorStep = 2;
        const platform::WindowId other = app_.system.findWindow("TFormClock", "Lumivo");
        if (other != 0 && other != form_->handle()) {
            app_.system.sendMessage(other, forms::kMsgBringToFront, 0, 0);
            app_.ui.terminate();
            return;
        }
        app_.err.ErrorStep = 3;
        const platform::WindowId crashed = app_.system.findWindow("TFormClock", "LumivoError");
        if (crashed != 0) {
            app_.system.sendMessage(crashed, forms::kMsgRestartHandOver, 0, 0);
            s.SplashScreenNotError = 1;
            s.ErrLaunchMsg = true;
        }
        app_.err.ErrorStep = 4;
        if (s.OSExit == 0) {
            if (!HibernationAllowed(app_)) s.HibrneteMode = 1;
            form_->tray(true, TrayIconData);
        }
        s.TaskbarCreatedMsg = app_.system.registerWindowMessage("TaskbarCreated");
    });
}

void ClockWindow::FormShow() {
    app_.guard({"0.001 - 013."}, [&] {
        form_->setDoubleBuffered(true);
        form_->setCaption("Lumivo");
    }, [&] {
        return errors::Dump().add("ErrLaunchMsg", app_.start.ErrLaunchMsg)
            .add("SplashScreenNotError", app_.start.SplashScreenNotError);
    });
}

void ClockWindow::FormPaint() {
    app_.guard({"0.001 - 002."}, [&] {
        StartupState& s = app_.start;
        const bool firstPaint = s.Loading == 0;
        if (s.FEExit == 1) {
            form_->hide();
            return;
        }
        if (firstPaint) {
            app_.settings.SecondsView = false;
            app_.settings.ZeroFirstView = true;
            app_.settings.AMPM24 = false;
            s.SoundDisabled = false;
            form_->hide();
            settings::LoadSettings(app_);
            reminders::FindNextRemind(app_);
            quickexit::ShowQSDIdleIcon(app_);
            settings::StoreSettings(app_, 1);
        }
        app_.err.ErrorStep = 1;
        if (s.ErrLaunchMsg) {
            s.ErrLaunchMsg = false;
            app_.ui.messageBox("Перезапуск программы Lumivo произведен успешно.", "Сообщение...",
                               ui::kMbIconInformation | ui::kMbSystemModal);
        }
        app_.err.ErrorStep = 2;
        app_.ui.hideAppTaskbarWindow();
        if (s.Win9xMode) {
            app_.err.ErrorStep = 3;
            if (RegionDirty) {
                RegionDirty = false;
                RgnByMask(ui::kBlack);
            }
            if (firstPaint) form_->hide();
            if (form_->bounds().height != RegionHeight && form_->visible() && RegionHeight > 0) RgnByMask(ui::kBlack);
        }
    }, [&] {
        return errors::Dump().add("FEExit", app_.start.FEExit).add("Loading", app_.start.Loading)
            .add("ErrLaunchMsg", app_.start.ErrLaunchMsg);
    });
}

void ClockWindow::FormCloseQuery(bool& canClose) {
    canClose = true;
    const bool ok = app_.guard({"0.001 - 020."}, [&] {
        if (app_.qsd.QSDWork > 0) {
            const int answer = app_.ui.messageBox(
                "Если закрыть программу быстрое выключение не сработает! Всё равно закрыть программу?",
                "Предупреждение...", ui::kMbYesNo | ui::kMbIconExclamation | ui::kMbSystemModal);
            if (answer == ui::kIdNo) canClose = false;
        }
    }, [&] { return errors::Dump().add("QSDWork", app_.qsd.QSDWork).add("CanClose", canClose); });
    if (!ok) canClose = true;
}

void ClockWindow::FormClose() {
    app_.guard({"0.001 - 023."}, [&] {
        Timer1().setEnabled(false);
        if (app_.splash) app_.splash->releasePicture();
        form_->tray(false, TrayIconData);
    });
}

bool ClockWindow::FormMessage(unsigned msg, std::uintptr_t, std::intptr_t lParam) {
    if (msg == forms::kMsgBringToFront) {
        app_.guard({"0.001 - 010."}, [&] { Restore(); });
        return true;
    }
    if (msg == forms::kMsgRestartHandOver) {
        app_.guard({"0.001 - 011."}, [&] { app_.ui.terminate(); });
        return true;
    }
    if (msg == forms::kMsgTrayCallback) {
        app_.guard(fixedCode("0.001 - 028.0"), [&] { TrayMessage(unsigned(lParam)); });
        return true;
    }
    if (msg != 0 && msg == app_.start.TaskbarCreatedMsg) {
        ReAddTrayIcon();
        return false;  // the default handling sees it too
    }
    return false;
}

void ClockWindow::TrayMessage(unsigned mouseMessage) {
    if (mouseMessage == kWmLButtonDblClk) {
        Restore();
    } else if (mouseMessage == kWmRButtonDown) {
        app_.system.setForeground(form_->handle());
        app_.ui.hideAppTaskbarWindow();
        ui::MenuItem& n4 = MainPoM().item("N4");
        n4.visible = true;
        int x = 0, y = 0;
        app_.ui.cursorPos(x, y);
        form_->popup(MainPoM(), x, y);
        n4.visible = false;
    }
}

// ---- the main tick ---------------------------------------------------------------

void ClockWindow::displayStep(const std::string& previous, const platform::LocalTime& now) {
    const settings::Settings& st = app_.settings;
    // The separator is the user's setting; asking the system once a minute follows a change soon enough.
    if (separator_.empty() || now.minute != separatorMinute_) {
        separator_ = app_.system.timeSeparator();
        separatorMinute_ = now.minute;
    }
    // Without transparency the shape is rebuilt at every text change: seconds never show there.
    const bool seconds = st.SecondsView && !app_.start.Win9xMode;
    TimeText = formatTime(timePattern(st.ZeroFirstView, seconds, st.AMPM24), now, separator_);
    timeShadow_->setCaption(TimeText);
    timeMain_->setCaption(TimeText);
    timeSize_->setCaption(TimeText + " ");
    const ui::Rect& s = timeSize_->bounds();
    timeMain_->setSize(s.width, s.height);
    timeShadow_->setSize(s.width, s.height);
    if (app_.start.Win9xMode && previous != TimeText && !TimeText.empty()) RegionDirty = true;
}

void ClockWindow::Timer1Timer() {
    app_.guard({"0.001 - 005.", 1}, [&] {
        StartupState& s = app_.start;
        app_.ui.hideAppTaskbarWindow();
        // The labels are refilled below; the window system repaints only when
        // the finished text differs from what it shows.
        const std::string previous = timeMain_->caption();
        timeShadow_->setCaption("");
        timeMain_->setCaption("");
        timeSize_->setCaption(" ");
        if (s.LaunchWork == 0) {
            const FadeStep f = fadeInStep(app_.settings.AlphaSet, app_.settings.AlphaUsed,
                                          form_->alphaBlendValue(), s.SplashScreenNotError);
            alphaUSet = f.target;
            form_->setAlphaBlendValue(f.alpha);
            if (f.finished) {
                Timer1().setInterval(50);
                s.LaunchWork = 1;
            }
        }
        // The time is read again only after a call that may have taken a while
        // (a message box, the error window, a spoken phrase); otherwise the
        // tick works on one consistent reading.
        platform::LocalTime now = app_.clock.now();
        auto reread = [&] { now = app_.clock.now(); };
        app_.err.ErrorStep = 2;
        displayStep(previous, now);

        app_.err.ErrorStep = 3;
        reminders::NextRemind& r = app_.remind;
        if (r.NextRemindSet && now.second > 30 && now.hour == r.NextRemindH) {
            if (now.minute == r.NextRemindM) {
                const int h = r.NextRemindH, m = r.NextRemindM;
                const std::string name = r.NextRemindName;
                reminders::FindNextRemind(app_);
                reminders::FireRemind(app_, h, m, name);
                reread();
            }
            if (app_.remind.NextRemindM < now.minute) {
                reminders::FindNextRemind(app_);
                reread();
            }
        }

        if (s.SoundDisabledTemp) {
            const bool over = now.hour != s.SoundDisabledUntilH || now.minute >= s.SoundDisabledUntilM;
            if (over) {
                MainPoM().item("SoundDiss").checked = false;
                s.SoundDisabled = false;
                s.SoundDisabledTemp = false;
                reminders::FindNextRemind(app_);
                reread();
            }
        }

        quickexit::QuickExitState& q = app_.qsd;
        if (q.QSDWTimerM < 2 && q.QSDWork == 1 && q.QSDWTimerH == 0) {
            q.QSDBugGuard = 1;
            ui::Control& red = *form_->find("ImageRed");
            ui::Control& orange = *form_->find("ImageOrange");
            const bool redShown = red.visible();
            red.setVisible(!redShown);
            orange.setVisible(redShown);
            form_->find("ImageGreen")->setVisible(false);
        }

        app_.err.ErrorStep = 4;
        if (now.second > 0) {
            if (now.minute == 0 || now.minute == 30) {
                reminders::FindNextRemind(app_);
                reread();
                if (s.SplashScreenNotError != 0) {
                    char hhnn[8], dd[4];
                    std::snprintf(hhnn, sizeof hhnn, "%02d%02d", now.hour, now.minute);
                    std::snprintf(dd, sizeof dd, "%02d", now.day);
                    app_.sound.SoundHLast = hhnn;
                    app_.sound.SoundHLastDate = dd;
                } else {
                    sound::CheckChime(app_);
                    reread();
                }
            } else {
                app_.sound.SoundHLast = "25";
            }
        }

        timeShadow_->setVisible(true);
        timeMain_->setVisible(true);
        s.SplashScreenNotError = 0;

        const std::string day = std::to_string(now.year * 10000 + now.month * 100 + now.day);
        if (day != hintDay_) {  // the date text changes once a day; asking the system every tick is waste
            form_->setHint(app_.system.longDate(now));
            hintDay_ = day;
        }

        if (s.FirstLaunch5 == 2) {
            // The first-launch window arrives with the settings window.
            s.FirstLaunch5 = 0;
        }

        sound::PollHotKeys(app_);
    }, [&] {
        const StartupState& s = app_.start;
        return errors::Dump()
            .add("LaunchWork", s.LaunchWork)
            .add("AlphaSet", app_.settings.AlphaSet)
            .add("alphaUSet", alphaUSet)
            .add("alphaused", app_.settings.AlphaUsed)
            .add("SplashScreenNotError", s.SplashScreenNotError)
            .add("TimeText", TimeText)
            .add("QSDWTimerM", app_.qsd.QSDWTimerM)
            .add("QSDWork", app_.qsd.QSDWork)
            .add("QSDWTimerH", app_.qsd.QSDWTimerH)
            .add("QSDBugGuard", app_.qsd.QSDBugGuard)
            .add("SoundHLast", app_.sound.SoundHLast)
            .add("SoundHLastDate", app_.sound.SoundHLastDate)
            .add("FirstLaunch5", s.FirstLaunch5)
            .add("FormClock.hint", form_->hint());
    });
}

// ---- dragging ----------------------------------------------------------------------

void ClockWindow::TimeMouseDown(const ui::MouseEvent& e) {
    app_.guard({"0.001 - 024.", 1}, [&] {
        if (app_.start.SplashScreenClose == 0 && app_.splash) app_.splash->close();
        app_.err.ErrorStep = 2;
        if (e.button == ui::MouseButton::Left) {
            XO = e.x;
            YO = e.y;
            move = true;
        }
    }, [&] {
        return errors::Dump().add("SplashScreenClose", app_.start.SplashScreenClose).add("XO", XO).add("X", e.x)
            .add("YO", YO).add("Y", e.y).add("move", move);
    });
}

void ClockWindow::TimeMouseMove(const ui::MouseEvent& e) {
    app_.guard({"0.001 - 025."}, [&] {
        if (move) form_->setPosition(form_->bounds().left + e.x - XO, form_->bounds().top + e.y - YO);
    }, [&] {
        return errors::Dump().add("XO", XO).add("X", e.x).add("YO", YO).add("Y", e.y).add("move", move);
    });
}

void ClockWindow::TimeMouseUp(const ui::MouseEvent&) {
    app_.guard({"0.001 - 026."}, [&] {
        settings::StoreSettings(app_, 1);
        move = false;
    }, [&] { return errors::Dump().add("move", move); });
}

// ---- the popup menu ------------------------------------------------------------------

void ClockWindow::MainPoMPopup() {
    app_.guard({"0.001 - 029."}, [&] {
        ui::PopupMenu& m = MainPoM();
        m.item("N8").visible = false;
        m.item("HidePOM").visible = false;
        m.item("OnTopPOM").visible = false;
        if (app_.start.ClockShown) {
            m.item("HidePOM").visible = true;
            m.item("OnTopPOM").visible = true;
        } else {
            m.item("N8").visible = true;
        }
    });
}

void ClockWindow::N8Click() { Restore(); }

void ClockWindow::HidePOMClick() {
    ReAddTrayIcon();
    app_.start.ClockShown = false;
    app_.ui.minimizeApp();
    app_.ui.hideAppTaskbarWindow();
}

void ClockWindow::OnTopPOMClick() {
    const bool onTop = MainPoM().item("OnTopPOM").checked;
    form_->setStayOnTop(onTop);
    app_.settings.StayOnTop = onTop ? 1 : 0;
    settings::StoreSettings(app_, 0);
    ReAddTrayIcon();
}

void ClockWindow::SoundDissClick() {
    sound::StopReminderSound(app_);
    app_.err.ErrorStep = 1;
    app_.start.SoundDisabled = !app_.start.SoundDisabled;
    MainPoM().item("SoundDiss").checked = app_.start.SoundDisabled;
}

void ClockWindow::N4Click() {
    app_.start.ClockShown = true;
    form_->setPosition(0, 0);
    settings::StoreSettings(app_, 1);
    move = false;
    BringToFront();
}

void ClockWindow::NillFirstClick() {
    app_.settings.ZeroFirstView = MainPoM().item("NillFirst").checked;
    settings::StoreSettings(app_, 0);
}

void ClockWindow::ViewSecondsAClick() {
    app_.settings.SecondsView = MainPoM().item("ViewSecondsA").checked;
    settings::StoreSettings(app_, 0);
}

void ClockWindow::PMAM24Click() {
    app_.settings.AMPM24 = MainPoM().item("PMAM24").checked;
    settings::StoreSettings(app_, 0);
}

// The quick-exit and settings windows come with their own subsystems.
void ClockWindow::QuickExitClick() {}
void ClockWindow::N2Click() {}

void ClockWindow::SetTimeClick() { app_.shell.open("timedate.cpl", "", "", platform::kSwHide); }

void ClockWindow::HelpSecClick() {
    app_.shell.open(platform::u8string(app_.paths.program / "Help.htm"), "", "", platform::kSwShow);
}

void ClockWindow::AboutProClick() {
    ++app_.start.ShowModalRes;
    AboutWindow about(app_);
    about.showModal();
}

void ClockWindow::ErrClick() { throw platform::AbortError("Operation aborted"); }

void ClockWindow::ExitPOMClick() { form_->close(); }

}  // namespace app

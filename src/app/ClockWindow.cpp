#include "app/ClockWindow.h"
#include <cstdint>
#include "LumivoVersion.h"
#include "app/App.h"
#include "app/AuxWindows.h"
#include "app/FaceRules.h"
#include "app/Program.h"
#include "errors/ErrorLog.h"
#include "forms/ClockMenuIds.h"
#include "forms/Forms.h"
#include "platform/Failure.h"
#include "platform/Path.h"
#include "settings/Fields.h"

namespace app {

namespace code = errors::code;

ClockWindow::ClockWindow(App& app)
    : app_(app),
      form_(forms::build(forms::clockForm(), app.ui)),
      TimeMain_(form_->get<ui::Label>("TimeMain")),
      TimeShadow_(form_->get<ui::Label>("TimeShadow")),
      TimeSize_(form_->get<ui::Label>("TimeSize")),
      ImageGreen_(form_->get<ui::Image>("ImageGreen")),
      ImageYellow_(form_->get<ui::Image>("ImageYellow")),
      ImageOrange_(form_->get<ui::Image>("ImageOrange")),
      ImageRed_(form_->get<ui::Image>("ImageRed")),
      MainPoM_(form_->menu("MainPoM")),
      N6_(MainPoM_.item("N6")),
      N8_(MainPoM_.item("N8")),
      HidePOM_(MainPoM_.item("HidePOM")),
      OnTopPOM_(MainPoM_.item("OnTopPOM")),
      SoundDiss_(MainPoM_.item("SoundDiss")),
      N4_(MainPoM_.item("N4")),
      NillFirst_(MainPoM_.item("NillFirst")),
      ViewSecondsA_(MainPoM_.item("ViewSecondsA")),
      PMAM24_(MainPoM_.item("PMAM24")),
      QuickExit_(MainPoM_.item("QuickExit")),
      N2_(MainPoM_.item("N2")),
      SetTime_(MainPoM_.item("SetTime")),
      HelpSec_(MainPoM_.item("HelpSec")),
      AboutPro_(MainPoM_.item("AboutPro")),
      Err_(MainPoM_.item("Err")),
      ExitPOM_(MainPoM_.item("ExitPOM")),
      Timer1_(form_->timer("Timer1")),
      Timer2_(form_->timer("Timer2")),
      TimerMySnd_(form_->timer("TimerMySnd")),
      TimerSndPause_(form_->timer("TimerSndPause")) {
    TrayIconData.tip = "Lumivo.XP";
    form_->freeOnClose = false;  // the main window: its close ends the message loop
    form_->keepLayer = true;

    form_->onCreate = [this] { FormCreate(); };
    form_->onShow = [this] { FormShow(); };
    form_->onPaint = [this] { FormPaint(); };
    form_->onCloseQuery = [this](bool& can) { FormCloseQuery(can); };
    form_->onClose = [this] { FormClose(); };
    form_->onMessage = [this](unsigned m, std::uintptr_t w, std::intptr_t l) { return FormMessage(m, w, l); };
    Timer1_.onTimer = [this] { Timer1Timer(); };
    // Lent to the subsystems that run them.
    app_.quickExit.attach(Timer2_);
    app_.reminderSound.attach(TimerMySnd_, TimerSndPause_);
    for (ui::Label* l : {&TimeMain_, &TimeShadow_, &TimeSize_}) {
        l->onMouseDown = [this](const ui::MouseEvent& e) { TimeMouseDown(e); };
        l->onMouseMove = [this](const ui::MouseEvent& e) { TimeMouseMove(e); };
        l->onMouseUp = [this](const ui::MouseEvent& e) { TimeMouseUp(e); };
    }
    MainPoM_.onPopup = [this] { MainPoMPopup(); };

    N6_.onClick = [this] { app_.reminderSound.N6Click(); };
    bind(N8_, code::N8, &ClockWindow::N8Click);
    bind(HidePOM_, code::HidePOM, &ClockWindow::HidePOMClick);
    bind(SoundDiss_, code::SoundDiss, &ClockWindow::SoundDissClick);
    bind(ViewSecondsA_, code::ViewSecondsA, &ClockWindow::ViewSecondsAClick);
    bind(NillFirst_, code::NillFirst, &ClockWindow::NillFirstClick);
    bind(PMAM24_, code::PMAM24, &ClockWindow::PMAM24Click);
    bind(SetTime_, code::SetTime, &ClockWindow::SetTimeClick);
    bind(HelpSec_, code::HelpSec, &ClockWindow::HelpSecClick);
    bind(ExitPOM_, code::ExitPOM, &ClockWindow::ExitPOMClick);
    bind(N4_, code::N4, &ClockWindow::N4Click);
    bind(Err_, code::ErrTest, &ClockWindow::ErrClick);
    OnTopPOM_.onClick = [this] {
        app_.guard(code::OnTopPOM, [this] { OnTopPOMClick(); }, [this] {
            return errors::Dump().add("OnTopPOM.checked", OnTopPOM_.checked).add("StayOnTop", app_.settings.StayOnTop);
        });
    };
    auto modalDump = [this] { return errors::Dump().add("ShowModalRes", app_.session.ShowModalRes); };
    QuickExit_.onClick = [this, modalDump] { app_.guard(code::QuickExit, [this] { QuickExitClick(); }, modalDump); };
    for (ui::Image* i : {&ImageGreen_, &ImageYellow_, &ImageOrange_, &ImageRed_})
        i->onClick = [this] {
            app_.guard(code::ImageYellowClick, [this] { ImageYellowClick(); }, [this] {
                return errors::Dump()
                    .add("ShowModalRes", app_.session.ShowModalRes)
                    .add("SplashScreenClose", app_.start.SplashScreenClose);
            });
        };
    AboutPro_.onClick = [this, modalDump] { app_.guard(code::AboutPro, [this] { AboutProClick(); }, modalDump); };
    N2_.onClick = [this] {
        app_.guard(code::N2, [this] { N2Click(); }, [this] {
            return errors::Dump().add("ShowModalRes", app_.session.ShowModalRes).add("ExitMode", app_.start.ExitMode);
        });
    };
    app_.clock_window = this;
    app_.face.attach(this);
    app_.listen(this);
}

ClockWindow::~ClockWindow() {
    app_.reminderSound.detach();
    app_.quickExit.detachTimer();
    app_.unlisten(this);
    app_.face.detach(this);
    if (app_.clock_window == this) app_.clock_window = nullptr;
}

void ClockWindow::bind(ui::MenuItem& item, const errors::Code& c, void (ClockWindow::*handler)()) {
    item.onClick = [this, &c, handler] { app_.guard(c, [this, handler] { (this->*handler)(); }); };
}

ui::Image& ClockWindow::mark(core::Mark m) {
    switch (m) {
        case core::Mark::Green: return ImageGreen_;
        case core::Mark::Yellow: return ImageYellow_;
        case core::Mark::Orange: return ImageOrange_;
        case core::Mark::Red: return ImageRed_;
    }
    return ImageGreen_;
}

// A clock the program moved onto a monitor keeps the user's own place in
// the store: it goes back there when that monitor comes back.
void ClockWindow::store(settings::StoreMode mode) {
    // Before the first load the window is not yet at the stored place (and
    // nothing is stored then): its place would stand for one the store lacks.
    if (app_.load.Loading == 0) return;
    if (!displaced_) {
        app_.settings.Left = form_->bounds().left;
        app_.settings.Top = form_->bounds().top;
    }
    app_.settingsStore.StoreSettings(mode);
}

void ClockWindow::KeepOnScreen(bool fromStored) {
    app_.guard(code::KeepOnScreen, [&] {
        if (fromStored && displaced_) {
            form_->setPosition(app_.settings.Left, app_.settings.Top);
            displaced_ = false;
        }
        if (const std::optional<ui::Point> to = ui::placeOnScreen(form_->bounds(), app_.ui.monitors())) {
            form_->setPosition(to->x, to->y);
            displaced_ = true;
        }
    });
}

// ---- shared procedures -------------------------------------------------------

void ClockWindow::BringToFront() {
    app_.ui.restoreApp();
    app_.audio.messageBeep(platform::kBeepDefault);
    form_->bringToFront();
    app_.ui.hideAppTaskbarWindow();
}

void ClockWindow::ReAddTrayIcon() {
    form_->tray(false, TrayIconData);
    form_->tray(true, TrayIconData);
}

void ClockWindow::Restore() {
    app_.start.ClockShown = true;
    showState();
    form_->show();
    BringToFront();
}

// A clock the user hid to the notification area stays there: only the user
// brings it back.
void ClockWindow::showLoaded() {
    if (app_.start.ClockShown) form_->show();
}

void ClockWindow::showState() {
    const StartupState& st = app_.start;
    const settings::Settings& s = app_.settings;
    const bool win9x = app_.session.Win9xMode;
    N6_.visible = soundPlaying_;
    N8_.visible = !st.ClockShown;
    HidePOM_.visible = st.ClockShown;
    OnTopPOM_.visible = st.ClockShown;
    OnTopPOM_.checked = s.StayOnTop == 1;
    SoundDiss_.checked = app_.sound.SoundDisabled;
    if (!win9x) ViewSecondsA_.checked = s.SecondsView;
    NillFirst_.checked = s.ZeroFirstView;
    PMAM24_.checked = s.AMPM24;
    QuickExit_.visible = s.ItemQE;
    SetTime_.visible = s.ItemST && !win9x;  // the 9x family has no such panel
}

// One message per piece of work, so that work which opens a window lets the
// next one run inside that window's loop, as any other message would.
void ClockWindow::later(std::function<void()> work) {
    if (!work) return;
    later_.push_back(std::move(work));
    if (!form_->post(forms::kMsgLater)) {
        // No window yet to queue for: nothing is running that it could be inside of.
        std::function<void()> now = std::move(later_.back());
        later_.pop_back();
        now();
    }
}

void ClockWindow::ApplyClockFont() {
    ui::Font f = TimeMain_.font();
    f.color = ui::Color(settings::VisibleColor(int(f.color)));
    TimeMain_.setFont(f);
    ui::Font shadow = f;
    shadow.color = forms::kShadowColor;
    TimeShadow_.setFont(shadow);
    ui::Font size = f;
    size.color = ui::kBlack;
    TimeSize_.setFont(size);
    const ui::Rect& s = TimeSize_.bounds();
    TimeMain_.setSize(s.width, s.height);
    TimeShadow_.setSize(s.width, s.height);
}

void ClockWindow::RgnByMask(ui::Color mask) {
    app_.guard(code::RgnByMask, [&] {
        RegionHeight = form_->bounds().height;
        const ui::Bitmap image = form_->captureClient();
        const std::vector<ui::Rect> runs = maskRuns(image, mask);
        form_->setRegion(&runs);
    });
}

// Only what differs changes: the same record shown again costs nothing.
void ClockWindow::apply(const settings::Settings& s) {
    TimeMain_.setFont(settings::ClockFont(s));
    ApplyClockFont();
    form_->setPosition(s.Left, s.Top);
    displaced_ = false;
    KeepOnScreen(false);
    placeAfterText_ = true;

    const bool onTop = s.StayOnTop == 1;
    if (form_->stayOnTop() != onTop) {
        form_->setStayOnTop(onTop);
        ReAddTrayIcon();  // the style change may take the icon with it
    }
    showState();
    app_.quickExit.ShowState();
}

void ClockWindow::showReminderSound(bool playing) {
    soundPlaying_ = playing;
    N6_.visible = playing;
}

int ClockWindow::messageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return app_.ui.ownedMessageBox(*form_, text, caption, flags);
}

void ClockWindow::alignMarks() {
    const int top = TimeMain_.bounds().height / 8;
    for (ui::Image* i : {&ImageGreen_, &ImageYellow_, &ImageOrange_, &ImageRed_}) i->setTop(top);
}

// ---- creation, showing, painting, closing ---------------------------------------

void ClockWindow::FormCreate() {
    app_.guard(code::ClockCreate, [&] {
        StartupState& s = app_.start;
        core::Session& session = app_.session;
        s.ClockShown = true;
        session.LMVName = "Lumivo.XP";
        session.LMVVersion = LUMIVO_VERSION_TEXT;
        session.LMVVersionName = LUMIVO_VERSION_NAME;
        session.LMVVersionTitle = "Предназначена для Windows 9x и выше.";
        session.Win9xMode = false;
        const platform::OsVersion v = app_.system.version();
        if (v.major == 4 && v.minor >= 10) {
            SetTime_.visible = false;
            ViewSecondsA_.checked = false;
            ViewSecondsA_.visible = false;
            app_.settings.SecondsView = false;
            app_.settings.ItemST = false;
            form_->setTransparentColor(false, ui::kBlack);
            form_->setAlphaBlend(false);
            session.Win9xMode = true;
        } else if (v.major < 4 || (v.major == 4 && v.minor < 10)) {
            s.FEExit = 1;
            s.OSExit = 1;
        }
        app_.ui.hideAppTaskbarWindow();
        session.WinV = std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build);
        s.ErrLaunchMsg = false;
        const platform::WindowId other = app_.system.findWindow("TFormClock", "Lumivo");
        if (other != 0 && other != form_->handle()) {
            app_.system.sendMessage(other, forms::kMsgBringToFront, 0, 0);
            app_.ui.terminate();
            return;
        }
        const platform::WindowId crashed = app_.system.findWindow("TFormClock", "LumivoError");
        if (crashed != 0) {
            app_.system.sendMessage(crashed, forms::kMsgRestartHandOver, 0, 0);
            s.SplashScreenNotError = 1;
            s.ErrLaunchMsg = true;
        }
        if (s.OSExit == 0) {
            if (!quickexit::HibernationAllowed(app_.session, app_.power)) app_.qsd.HibrneteMode = 1;
            form_->tray(true, TrayIconData);
        }
        s.TaskbarCreatedMsg = app_.system.registerWindowMessage("TaskbarCreated");
    });
}

void ClockWindow::FormShow() {
    app_.guard(code::ClockShow, [&] {
        form_->setDoubleBuffered(true);
        form_->setCaption("Lumivo");
    }, [&] {
        return errors::Dump().add("ErrLaunchMsg", app_.start.ErrLaunchMsg)
            .add("SplashScreenNotError", app_.start.SplashScreenNotError);
    });
}

void ClockWindow::FormPaint() {
    app_.guard(code::ClockPaint, [&] {
        StartupState& s = app_.start;
        const bool firstPaint = app_.load.Loading == 0;
        if (s.FEExit == 1) {
            form_->hide();
            return;
        }
        if (firstPaint) {
            // The formats that stand when the registry has none.
            app_.settings.SecondsView = false;
            app_.settings.ZeroFirstView = true;
            app_.settings.AMPM24 = false;
            app_.sound.SoundDisabled = false;
            form_->hide();
            app_.settingsStore.LoadSettings();
            app_.reminders.FindNextRemind();
            app_.quickExit.ShowState();
            store(settings::StoreMode::PositionOnly);
        }
        if (s.ErrLaunchMsg) {
            s.ErrLaunchMsg = false;
            app_.ui.messageBox("Перезапуск программы Lumivo произведен успешно.", "Сообщение...",
                               ui::kMbIconInformation | ui::kMbSystemModal);
        }
        app_.ui.hideAppTaskbarWindow();
        if (app_.session.Win9xMode) {
            if (RegionDirty) {
                RegionDirty = false;
                RgnByMask(ui::kBlack);
            }
            if (firstPaint) form_->hide();
            if (form_->bounds().height != RegionHeight && form_->visible() && RegionHeight > 0) RgnByMask(ui::kBlack);
        }
    }, [&] {
        return errors::Dump().add("FEExit", app_.start.FEExit).add("Loading", app_.load.Loading)
            .add("ErrLaunchMsg", app_.start.ErrLaunchMsg);
    });
}

void ClockWindow::FormCloseQuery(bool& canClose) {
    canClose = true;
    const bool ok = app_.guard(code::ClockCloseQuery, [&] {
        if (app_.qsd.started()) {
            const int answer = app_.ui.messageBox(
                "Если закрыть программу быстрое выключение не сработает! Всё равно закрыть программу?",
                "Предупреждение...", ui::kMbYesNo | ui::kMbIconExclamation | ui::kMbSystemModal);
            if (answer == ui::kIdNo) canClose = false;
        }
    }, [&] { return errors::Dump().add("QSDWork", app_.qsd.QSDWork).add("CanClose", canClose); });
    if (!ok) canClose = true;
}

void ClockWindow::FormClose() {
    app_.guard(code::ClockClose, [&] {
        Timer1_.setEnabled(false);
        if (app_.splash) app_.splash->releasePicture();
        form_->tray(false, TrayIconData);
    });
}

bool ClockWindow::FormMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    if (msg == forms::kMsgBringToFront) {
        app_.guard(code::SecondCopy, [&] { Restore(); });
        return true;
    }
    if (msg == forms::kMsgRestartHandOver) {
        app_.guard(code::RestartHandOver, [&] { app_.ui.terminate(); });
        return true;
    }
    if (msg == forms::kMsgTrayCallback) {
        app_.guard(code::TrayMessage, [&] { TrayMessage(unsigned(lParam)); });
        return true;
    }
    if (msg == forms::kMsgLater) {
        if (later_.empty()) return true;
        const std::function<void()> work = std::move(later_.front());
        later_.pop_front();
        work();
        return true;
    }
    if (msg == forms::kMsgTimeChange) {
        app_.tell(&core::SystemEvents::onTimeChanged);
        return false;
    }
    if (msg == forms::kMsgPowerBroadcast && (wParam == forms::kPbtResumeAutomatic || wParam == forms::kPbtResumeSuspend)) {
        app_.tell(&core::SystemEvents::onResumed);
        return false;
    }
    if (msg == forms::kMsgQueryEndSession) return QueryEndSession();
    if (msg == forms::kMsgEndSession) {
        EndSession(wParam != 0);
        return true;
    }
    if (msg == forms::kMsgDisplayChange) {
        app_.tell(&core::SystemEvents::onDisplayChanged);
        return false;
    }
    if (msg != 0 && msg == app_.start.TaskbarCreatedMsg) {
        ReAddTrayIcon();
        return false;  // the default handling sees it too
    }
    return false;
}

// No question, not even the close query's about a running quick exit: a
// program that asks holds the whole session up. A modal window of ours
// changes nothing either.
bool ClockWindow::QueryEndSession() { return true; }

// Everything is done here, before answering: the process may be gone as soon
// as it has answered. Nothing here may open a window, the error window included.
void ClockWindow::EndSession(bool ending) {
    if (!ending) return;  // someone refused: the session goes on, and so do we
    StartupState& s = app_.start;
    if (s.SessionEnded) return;
    s.SessionEnded = true;
    app_.guard.windowsGone = true;
    app_.tell(&core::SystemEvents::onSessionEnding);
}

void ClockWindow::onSessionEnding() {
    int step = 0;
    try {
        Timer1_.setEnabled(false);
        form_->tray(false, TrayIconData);
        step = 1;
        store(settings::StoreMode::PositionOnly);
        app_.flushStore();
        step = 2;
        ClearScratchFiles(app_.paths);
    } catch (...) {
        app_.guard.record(errors::errorCode(code::EndSession, step),
                          errors::Guard::classNameOf(std::current_exception()), "");
    }
    app_.ui.terminate();
}

void ClockWindow::TrayMessage(unsigned mouseMessage) {
    if (mouseMessage == forms::kTrayDoubleClick) {
        Restore();
    } else if (mouseMessage == forms::kTrayRightButtonDown) {
        app_.system.setForeground(form_->handle());
        app_.ui.hideAppTaskbarWindow();
        N4_.visible = true;
        int x = 0, y = 0;
        app_.ui.cursorPos(x, y);
        form_->popup(MainPoM_, x, y);
        N4_.visible = false;
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
    const bool seconds = st.SecondsView && !app_.session.Win9xMode;
    TimeText = formatTime(timePattern(st.ZeroFirstView, seconds, st.AMPM24), now, separator_);
    TimeShadow_.setCaption(TimeText);
    TimeMain_.setCaption(TimeText);
    TimeSize_.setCaption(TimeText + " ");
    const ui::Rect& s = TimeSize_.bounds();
    TimeMain_.setSize(s.width, s.height);
    TimeShadow_.setSize(s.width, s.height);
    if (app_.session.Win9xMode && previous != TimeText && !TimeText.empty()) RegionDirty = true;
}

// Each subsystem's share of the tick in its fixed order: the face, the due
// reminder, the end of a temporary sound-off, the quick exit's last minutes,
// the half-hour work, the first-launch window, the hot keys.
void ClockWindow::Timer1Timer() {
    const errors::Guard::Held held(app_.guard);
    app_.guard(code::Timer1Timer, [&] {
        StartupState& s = app_.start;
        app_.ui.hideAppTaskbarWindow();
        // The labels are refilled below; the window system repaints only when
        // the finished text differs from what it shows.
        const std::string previous = TimeMain_.caption();
        TimeShadow_.setCaption("");
        TimeMain_.setCaption("");
        TimeSize_.setCaption(" ");
        if (s.LaunchWork == 0) {
            const FadeStep f = fadeInStep(app_.settings.AlphaSet, app_.settings.AlphaUsed, form_->alphaBlendValue(),
                                          s.SplashScreenNotError);
            alphaUSet = f.target;
            form_->setAlphaBlendValue(f.alpha);
            if (f.finished) {
                Timer1_.setInterval(50);
                s.LaunchWork = 1;
            }
        }
        // The time is read again only after a call that may have taken a while
        // (a message box, the error window, a spoken phrase); otherwise the
        // tick works on one consistent reading.
        platform::LocalTime now = app_.clock.now();
        auto reread = [&] { now = app_.clock.now(); };
        app_.guard.step(2);
        displayStep(previous, now);
        if (placeAfterText_) {
            placeAfterText_ = false;
            KeepOnScreen(true);
        }

        app_.guard.step(3);
        if (app_.reminders.TickStep(now)) reread();
        if (sound::EndTemporarySoundOff(app_.sound, *this, now)) {
            app_.reminders.FindNextRemind();
            reread();
        }
        app_.quickExit.BlinkStep();

        app_.guard.step(4);
        if (app_.reminders.HalfHourStep(now)) reread();
        app_.chime.HalfHourStep(now, s.SplashScreenNotError != 0);

        TimeShadow_.setVisible(true);
        TimeMain_.setVisible(true);
        s.SplashScreenNotError = 0;

        const std::string day = std::to_string(now.year * 10000 + now.month * 100 + now.day);
        if (day != hintDay_) {  // the date text changes once a day; asking the system every tick is waste
            form_->setHint(app_.system.longDate(now));
            hintDay_ = day;
        }

        if (app_.load.FirstLaunch5 == 2) {
            app_.load.FirstLaunch5 = 0;
            app_.audio.messageBeep(platform::kBeepExclamation);
            later([this] {
                FirstLaunchWindow first(app_);
                first.showModal();
            });
        }

        app_.hotKeys.PollHotKeys();
    }, [&] {
        const StartupState& s = app_.start;
        const quickexit::QuickExitState& q = app_.qsd;
        return errors::Dump()
            .add("LaunchWork", s.LaunchWork)
            .add("AlphaSet", app_.settings.AlphaSet)
            .add("alphaUSet", alphaUSet)
            .add("alphaused", app_.settings.AlphaUsed)
            .add("SplashScreenNotError", s.SplashScreenNotError)
            .add("TimeText", TimeText)
            .add("QSDWTimerM", q.QSDWTimerM)
            .add("QSDWork", q.QSDWork)
            .add("QSDWTimerH", q.QSDWTimerH)
            .add("QSDBugGuard", q.QSDBugGuard)
            .add("SoundHLast", app_.sound.SoundHLast)
            .add("SoundHLastDate", app_.sound.SoundHLastDate)
            .add("FirstLaunch5", app_.load.FirstLaunch5)
            .add("FormClock.hint", form_->hint());
    });
    // After the tick: whatever this or any handler since the last tick wrote is one rewrite.
    app_.flushStore();
}

// ---- dragging ----------------------------------------------------------------------

void ClockWindow::TimeMouseDown(const ui::MouseEvent& e) {
    app_.guard(code::TimeMouseDown, [&] {
        if (app_.start.SplashScreenClose == 0 && app_.splash) app_.splash->close();
        app_.guard.step(2);
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
    app_.guard(code::TimeMouseMove, [&] {
        if (move && (e.x != XO || e.y != YO)) {
            form_->setPosition(form_->bounds().left + e.x - XO, form_->bounds().top + e.y - YO);
            displaced_ = false;  // where the user puts it is the place to store
        }
    }, [&] {
        return errors::Dump().add("XO", XO).add("X", e.x).add("YO", YO).add("Y", e.y).add("move", move);
    });
}

void ClockWindow::TimeMouseUp(const ui::MouseEvent&) {
    app_.guard(code::TimeMouseUp, [&] {
        store(settings::StoreMode::PositionOnly);
        move = false;
    }, [&] { return errors::Dump().add("move", move); });
}

// ---- the popup menu ------------------------------------------------------------------

void ClockWindow::MainPoMPopup() {
    app_.guard(code::MainPoMPopup, [&] { showState(); });
}

void ClockWindow::N8Click() { Restore(); }

void ClockWindow::HidePOMClick() {
    ReAddTrayIcon();
    app_.start.ClockShown = false;
    showState();
    // Hidden in its own right too: bringing the program's windows back (after
    // a hibernation, say) leaves it where the user put it.
    form_->hide();
    app_.ui.minimizeApp();
    app_.ui.hideAppTaskbarWindow();
}

void ClockWindow::OnTopPOMClick() {
    const bool onTop = OnTopPOM_.checked;
    form_->setStayOnTop(onTop);
    app_.settings.StayOnTop = onTop ? 1 : 0;
    store(settings::StoreMode::All);
    ReAddTrayIcon();
}

void ClockWindow::SoundDissClick() { sound::ToggleSoundOff(app_.sound, app_.reminderSound, *this); }

void ClockWindow::N4Click() {
    app_.start.ClockShown = true;
    showState();
    form_->show();
    displaced_ = false;  // the user's own choice of place
    form_->setPosition(0, 0);
    store(settings::StoreMode::PositionOnly);
    move = false;
    BringToFront();
}

void ClockWindow::NillFirstClick() {
    app_.settings.ZeroFirstView = NillFirst_.checked;
    store(settings::StoreMode::All);
}

void ClockWindow::ViewSecondsAClick() {
    app_.settings.SecondsView = ViewSecondsA_.checked;
    store(settings::StoreMode::All);
}

void ClockWindow::PMAM24Click() {
    app_.settings.AMPM24 = PMAM24_.checked;
    store(settings::StoreMode::All);
}

// The quick-exit and settings windows come with their own subsystems.
void ClockWindow::QuickExitClick() { app_.quickExit.OpenQuickShutDownWindow(true); }

void ClockWindow::ImageYellowClick() {
    if (app_.start.SplashScreenClose == 0 && app_.splash) app_.splash->close();
    app_.quickExit.OpenQuickShutDownWindow(true);
}

void ClockWindow::balloon(const std::string& title, const std::string& text) {
    form_->balloon(TrayIconData, title, text);
}
// No reminder fires while the settings window is open; its close looks for the next one.
void ClockWindow::N2Click() {
    if (!app_.settings_window) app_.reminders.pause();
    OpenSettings(nullptr);
}

// One window at a time: a second opening finds the first.
void ClockWindow::OpenSettings(const std::filesystem::path* preload) {
    if (app_.settings_window) {
        app_.settings_window->bringToFront();
        return;
    }
    app_.start.ExitMode = settingsui::kExitOther;
    settingsui::SettingsWindow window(app_.settingsDeps());  // it counts itself as a modal window
    app_.settings_window = &window;
    struct Gone {
        App& app;
        ~Gone() { app.settings_window = nullptr; }
    } gone{app_};
    window.realize();
    if (preload) {
        window.preload(*preload);
        // The shipped defaults are a first launch's: a visiting copy offers no start-up.
        if (app_.settingsStore.visiting()) window.offerAutoLaunch(0);
    }
    window.showModal();
}

void ClockWindow::SetTimeClick() { app_.shell.open("timedate.cpl", "", "", platform::kSwHide); }

void ClockWindow::HelpSecClick() {
    app_.shell.open(platform::u8string(app_.paths.program / "Help.htm"), "", "", platform::kSwShow);
}

void ClockWindow::AboutProClick() {
    AboutWindow about(app_);
    about.showModal();
}

void ClockWindow::ErrClick() { throw platform::AbortError("Operation aborted"); }

void ClockWindow::ExitPOMClick() { form_->close(); }

}  // namespace app

#include "app/AuxWindows.h"
#include "app/App.h"
#include "app/ClockWindow.h"
#include "app/FaceRules.h"
#include "forms/Forms.h"

namespace app {

namespace code = errors::code;

namespace {
errors::Dump versionDump(const core::Session& s, bool withEquals) {
    return errors::Dump()
        .add("LMVName", s.LMVName, withEquals)
        .add("LMVVersion", s.LMVVersion, withEquals)
        .add("LMVVersionName", s.LMVVersionName, withEquals)
        .add("LMVVersionTitle", s.LMVVersionTitle, withEquals);
}

std::string versionLine(const core::Session& s) {
    return s.LMVName + " Версия: " + s.LMVVersion + "." + s.LMVVersionName;
}

// Binds the two maker links of the about and unsupported-system windows.
void bindLinks(App& app, ui::Label& mail, ui::Label& web, const errors::Code& mailCode, int mailShow,
               const errors::Code& webCode) {
    mail.setCaption(forms::kSupportEmail);
    web.setCaption(forms::kWebAddress);
    mail.onClick = [&app, &mailCode, mailShow] {
        app.guard(mailCode, [&] {
            app.shell.open(std::string("mailto:") + forms::kSupportEmail, "", "", mailShow);
            if (mailShow == platform::kSwMaximize) app.ui.hideAppTaskbarWindow();
        });
    };
    web.onClick = [&app, &webCode] {
        app.guard(webCode, [&] { app.shell.open(forms::kWebAddress, "", "", platform::kSwHide); });
    };
}
}  // namespace

ui::Bitmap LogoPicture(App& app) {
    if (app.splash && !app.splash->SplashPicture().empty()) return app.splash->SplashPicture();
    return app.ui.loadPicture("SPLASH");
}

// ---- splash ----------------------------------------------------------------------------

SplashWindow::SplashWindow(App& app)
    : app_(app), form_(forms::build(forms::splashForm(), app.ui)), Image1_(form_->get<ui::Image>("Image1")),
      Timer1_(form_->timer("Timer1")) {
    form_->onCreate = [this] { FormCreate(); };
    form_->onPaint = [this] { FormPaint(); };
    form_->onClose = [this] { FormClose(); };
    form_->onKeyDown = [this](int) { app_.guard(code::SplashKey, [this] { close(); }); };
    auto click = [this](const ui::MouseEvent&) { app_.guard(code::SplashMouse, [this] { close(); }); };
    form_->onMouseDown = click;
    Image1_.onMouseDown = click;
    Timer1_.onTimer = [this] { app_.guard(code::SplashTimer, [this] { close(); }); };
    app_.splash = this;
}

SplashWindow::~SplashWindow() {
    if (app_.splash == this) app_.splash = nullptr;
}

void SplashWindow::create() {
    app_.ui.realize(*form_);
    if (!app_.ui.terminated()) form_->show();
}

void SplashWindow::close() {
    if (!form_->closed()) form_->close();
}

void SplashWindow::FormCreate() {
    app_.guard(code::SplashCreate, [&] {
        if (app_.start.OSExit == 1) {
            NotSupportedOsWindow w(app_);
            w.showModal();
        }
    }, [&] { return errors::Dump().add("OSExit", app_.start.OSExit); });
}

void SplashWindow::FormPaint() {
    app_.guard(code::SplashPaint, [&] {
        if (app_.start.SplashScreenNotError == 1) close();
    }, [&] { return errors::Dump().add("SplashScreenNotError", app_.start.SplashScreenNotError); });
    if (app_.session.Win9xMode && !shaped_ && !form_->closed()) {
        app_.guard(code::SplashShape, [&] {
            // As drawn, at the screen's resolution: the shape is cut in the window's pixels.
            const std::vector<ui::Rect> runs = maskRuns(form_->captureClient(), ui::kRed);
            form_->setRegion(&runs);
            shaped_ = true;
        }, [&] { return errors::Dump().add("OSExit", app_.start.OSExit); });
    }
}

void SplashWindow::FormClose() {
    app_.guard(code::SplashClose, [&] {
        StartupState& s = app_.start;
        if (app_.clock_window) app_.clock_window->form().setShowWithoutActivation(false);
        if (app_.session.Win9xMode && app_.clock_window) app_.clock_window->showLoaded();
        Timer1_.setEnabled(false);
        // The splash counts no window of its own: a window open now stays counted.
        s.SplashScreenClose = 1;
        if (app_.load.FirstLaunch5 == 1) app_.load.FirstLaunch5 = 2;
    }, [&] {
        return errors::Dump()
            .add("Timer1.Enabled", Timer1_.enabled())
            .add("ShowModalRes", app_.session.ShowModalRes)
            .add("SplashScreenClose", app_.start.SplashScreenClose)
            .add("FirstLaunch5", app_.load.FirstLaunch5);
    });
}

// ---- about -------------------------------------------------------------------------------

AboutWindow::AboutWindow(App& app)
    : app_(app), modal_(app.session), form_(forms::build(forms::aboutForm(), app.ui)), ImageLogo_(form_->get<ui::Image>("ImageLogo")),
      Memo3_(form_->get<ui::Memo>("Memo3")), LabelEMail_(form_->get<ui::Label>("LabelEMail")),
      LabelWeb_(form_->get<ui::Label>("LabelWeb")) {
    form_->onCreate = [this] { FormCreate(); };
    form_->onPaint = [this] { app_.guard(code::AboutPaint, [this] { app_.ui.hideAppTaskbarWindow(); }); };
    form_->onClose = [this] {
        app_.guard(code::AboutClose, [this] { modal_.release(); },
                   [this] { return errors::Dump().add("ShowModalRes", app_.session.ShowModalRes, false); });
    };
    form_->get<ui::Button>("ButtonOk").onClick = [this] { app_.guard(code::AboutOk, [this] { form_->close(); }); };
    bindLinks(app_, LabelEMail_, LabelWeb_, code::AboutMail, platform::kSwMaximize, code::AboutWeb);
    LabelEMail_.onMouseMove = [this](const ui::MouseEvent&) {
        app_.guard(code::AboutLinkHover, [this] { setLinkColours(ui::kRed, ui::kBlue); });
    };
    LabelWeb_.onMouseMove = [this](const ui::MouseEvent&) {
        app_.guard(code::AboutLinkHover, [this] { setLinkColours(ui::kBlue, ui::kRed); });
    };
    form_->onMouseMove = [this](const ui::MouseEvent&) {
        app_.guard(code::AboutHover, [this] { setLinkColours(ui::kBlue, ui::kBlue); });
    };
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::setLinkColours(ui::Color mail, ui::Color web) {
    for (auto [label, colour] : {std::pair{&LabelEMail_, mail}, std::pair{&LabelWeb_, web}}) {
        ui::Font f = label->font();
        f.color = colour;
        label->setFont(f);
    }
}

void AboutWindow::showModal() {
    app_.ui.realize(*form_);
    app_.ui.showModal(*form_);
}

void AboutWindow::FormCreate() {
    app_.guard(code::AboutCreate, [&] {
        ImageLogo_.setPicture(LogoPicture(app_));
        Memo3_.addLine(app_.session.LMVVersionTitle);
        Memo3_.addLine(versionLine(app_.session));
    }, [&] { return versionDump(app_.session, false); });
}

// ---- first launch ---------------------------------------------------------------------

FirstLaunchWindow::FirstLaunchWindow(App& app)
    : app_(app), modal_(app.session), form_(forms::build(forms::firstLaunchForm(), app.ui)), Panel2_(form_->get<ui::Panel>("Panel2")),
      Panel3_(form_->get<ui::Panel>("Panel3")) {
    form_->onCreate = [this] { FormCreate(); };
    form_->onClose = [this] {
        app_.guard(code::FirstLaunchClose, [this] { modal_.release(); },
                   [this] { return errors::Dump().add("ShowModalRes", app_.session.ShowModalRes); });
    };
    form_->get<ui::Button>("ButtonOk").onClick = [this] {
        app_.guard(code::FirstLaunchOk, [this] { form_->close(); });
    };
}

FirstLaunchWindow::~FirstLaunchWindow() = default;

void FirstLaunchWindow::showModal() {
    app_.ui.realize(*form_);
    app_.ui.showModal(*form_);
    FormDestroy();
}

void FirstLaunchWindow::FormCreate() {
    app_.guard(code::FirstLaunchCreate, [&] {
        const core::Session& s = app_.session;
        Panel2_.setCaption(s.LMVName + " версия: " + s.LMVVersion);
        Panel3_.setCaption(s.LMVVersionTitle);
    }, [&] {
        const core::Session& s = app_.session;
        return errors::Dump()
            .add("Panel2.Caption", Panel2_.caption())
            .add("LMVName", s.LMVName)
            .add("LMVVersion", s.LMVVersion)
            .add("panel3.Caption", Panel3_.caption())
            .add("LMVVersionTitle", s.LMVVersionTitle);
    });
}

// Runs once the window has gone, so the settings window is not opened from
// inside a window's destruction.
void FirstLaunchWindow::FormDestroy() {
    app_.guard(code::FirstLaunchDestroy, [&] {
        app_.load.FirstLaunch5 = 0;
        const std::filesystem::path defaults = app_.paths.program / "TempFiles" / "_Default.SetLMV";
        std::error_code missing;
        const bool preload = std::filesystem::is_regular_file(defaults, missing);
        if (app_.clock_window) app_.clock_window->OpenSettings(preload ? &defaults : nullptr);
    }, [&] {
        return errors::Dump()
            .add("FirstLaunch5", app_.load.FirstLaunch5)
            .add("ExitMode", app_.start.ExitMode)
            .add("ShowModalRes", app_.session.ShowModalRes);
    });
}

// ---- unsupported system -----------------------------------------------------------------

NotSupportedOsWindow::NotSupportedOsWindow(App& app)
    : app_(app), form_(forms::build(forms::notSupportedOsForm(), app.ui)),
      ImageLogo_(form_->get<ui::Image>("ImageLogo")), Memo2_(form_->get<ui::Memo>("Memo2")) {
    form_->onCreate = [this] { FormCreate(); };
    form_->get<ui::Button>("ButtonOk").onClick = [this] {
        app_.guard(code::NotSupportedOk, [this] { app_.ui.terminate(); });
    };
    // The close box and Alt+F4 end the program too: left running, its hidden
    // clock would make every later start give way to it as to a first copy.
    form_->onClose = [this] { app_.guard(code::NotSupportedClose, [this] { app_.ui.terminate(); }); };
    bindLinks(app_, form_->get<ui::Label>("LabelEMail"), form_->get<ui::Label>("LabelWeb"), code::NotSupportedMail,
              platform::kSwRestore, code::NotSupportedWeb);
}

NotSupportedOsWindow::~NotSupportedOsWindow() = default;

void NotSupportedOsWindow::showModal() {
    app_.ui.realize(*form_);
    app_.ui.showModal(*form_);
}

void NotSupportedOsWindow::FormCreate() {
    app_.guard(code::NotSupportedCreate, [&] {
        Memo2_.addLine(versionLine(app_.session));
        Memo2_.addLine(app_.session.LMVVersionTitle);
        // The splash's picture stays: the splash is still on screen behind this window.
        ImageLogo_.setPicture(LogoPicture(app_));
    }, [&] { return versionDump(app_.session, true); });
}

}  // namespace app

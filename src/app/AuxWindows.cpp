#include "app/AuxWindows.h"
#include "app/App.h"
#include "app/ClockFace.h"
#include "app/ClockWindow.h"
#include "forms/Forms.h"

namespace app {

namespace {
errors::Dump versionDump(App& app, bool withEquals) {
    const StartupState& s = app.start;
    return errors::Dump()
        .add("LMVName", s.LMVName, withEquals)
        .add("LMVVersion", s.LMVVersion, withEquals)
        .add("LMVVersionName", s.LMVVersionName, withEquals)
        .add("LMVVersionTitle", s.LMVVersionTitle, withEquals);
}

std::string versionLine(App& app) {
    const StartupState& s = app.start;
    return s.LMVName + " Версия: " + s.LMVVersion + "." + s.LMVVersionName;
}

// Binds the two maker links of the about and unsupported-system windows.
void bindLinks(App& app, ui::Form& form, const char* mailCode, int mailShow, const char* webCode) {
    auto& mail = form.get<ui::Label>("LabelEMail");
    auto& web = form.get<ui::Label>("LabelWeb");
    mail.setCaption(forms::kSupportEmail);
    web.setCaption(forms::kWebAddress);
    mail.onClick = [&app, mailCode, mailShow] {
        app.guard({mailCode}, [&] {
            app.shell.open(std::string("mailto:") + forms::kSupportEmail, "", "", mailShow);
            if (mailShow == platform::kSwMaximize) app.ui.hideAppTaskbarWindow();
        });
    };
    web.onClick = [&app, webCode] {
        app.guard({webCode}, [&] { app.shell.open(forms::kWebAddress, "", "", platform::kSwHide); });
    };
}
}  // namespace

ui::Bitmap LogoPicture(App& app) {
    if (app.splash && !app.splash->SplashPicture.empty()) return app.splash->SplashPicture;
    return app.ui.loadPicture("SPLASH");
}

// ---- splash ----------------------------------------------------------------------------

SplashWindow::SplashWindow(App& app) : app_(app), form_(forms::build(forms::splashForm(), app.ui)) {
    form_->onCreate = [this] { FormCreate(); };
    form_->onPaint = [this] { FormPaint(); };
    form_->onClose = [this] { FormClose(); };
    form_->onKeyDown = [this](int) { app_.guard({"0.005 - 001."}, [this] { close(); }); };
    auto click = [this](const ui::MouseEvent&) { app_.guard({"0.005 - 002."}, [this] { close(); }); };
    form_->onMouseDown = click;
    form_->get<ui::Image>("Image1").onMouseDown = click;
    form_->timer("Timer1").onTimer = [this] { app_.guard({"0.005 - 003."}, [this] { close(); }); };
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
    app_.guard({"0.005 - 006."}, [&] {
        SplashPicture = form_->get<ui::Image>("Image1").picture();
        app_.err.ErrorStep = 1;
        if (app_.start.OSExit == 1) {
            NotSupportedOsWindow w(app_);
            w.showModal();
        }
    }, [&] { return errors::Dump().add("OSExit", app_.start.OSExit); });
}

void SplashWindow::FormPaint() {
    app_.guard({"0.005 - 005."}, [&] {
        if (app_.start.SplashScreenNotError == 1) close();
    }, [&] { return errors::Dump().add("SplashScreenNotError", app_.start.SplashScreenNotError); });
    if (app_.start.Win9xMode && !shaped_ && !form_->closed()) {
        app_.guard({"0.005 - 007."}, [&] {
            const ui::Bitmap& pic = form_->get<ui::Image>("Image1").picture();
            const std::vector<ui::Rect> runs = maskRuns(pic, ui::kRed);
            form_->setRegion(&runs);
            shaped_ = true;
        }, [&] { return errors::Dump().add("OSExit", app_.start.OSExit); });
    }
}

void SplashWindow::FormClose() {
    app_.guard({"0.005 - 004."}, [&] {
        StartupState& s = app_.start;
        if (app_.clock_window) app_.clock_window->form().setShowWithoutActivation(false);
        if (s.Win9xMode && app_.clock_window) app_.clock_window->form().show();
        app_.err.ErrorStep = 1;
        form_->timer("Timer1").setEnabled(false);
        s.ShowModalRes = 0;
        s.SplashScreenClose = 1;
        if (s.FirstLaunch5 == 1) s.FirstLaunch5 = 2;
    }, [&] {
        return errors::Dump()
            .add("Timer1.Enabled", form_->timer("Timer1").enabled())
            .add("ShowModalRes", app_.start.ShowModalRes)
            .add("SplashScreenClose", app_.start.SplashScreenClose)
            .add("FirstLaunch5", app_.start.FirstLaunch5);
    });
}

// ---- about -------------------------------------------------------------------------------

AboutWindow::AboutWindow(App& app) : app_(app), form_(forms::build(forms::aboutForm(), app.ui)) {
    form_->onCreate = [this] { FormCreate(); };
    form_->onPaint = [this] { app_.guard({"0.002 - 006."}, [this] { app_.ui.hideAppTaskbarWindow(); }); };
    form_->onClose = [this] {
        app_.guard({"0.002 - 002."}, [this] { --app_.start.ShowModalRes; },
                   [this] { return errors::Dump().add("ShowModalRes", app_.start.ShowModalRes, false); });
    };
    form_->get<ui::Button>("ButtonOk").onClick = [this] { app_.guard({"0.002 - 001."}, [this] { form_->close(); }); };
    bindLinks(app_, *form_, "0.002 - 003.", platform::kSwMaximize, "0.002 - 004.");
    form_->get<ui::Label>("LabelEMail").onMouseMove = [this](const ui::MouseEvent&) {
        app_.guard({"0.002 - 007."}, [this] { setLinkColours(ui::kRed, ui::kBlue); });
    };
    form_->get<ui::Label>("LabelWeb").onMouseMove = [this](const ui::MouseEvent&) {
        app_.guard({"0.002 - 007."}, [this] { setLinkColours(ui::kBlue, ui::kRed); });
    };
    form_->onMouseMove = [this](const ui::MouseEvent&) {
        app_.guard({"0.002 - 008."}, [this] { setLinkColours(ui::kBlue, ui::kBlue); });
    };
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::setLinkColours(ui::Color mail, ui::Color web) {
    for (auto [name, colour] : {std::pair{"LabelEMail", mail}, std::pair{"LabelWeb", web}}) {
        ui::Label& l = form_->get<ui::Label>(name);
        ui::Font f = l.font();
        f.color = colour;
        l.setFont(f);
    }
}

void AboutWindow::showModal() {
    app_.ui.realize(*form_);
    app_.ui.showModal(*form_);
}

void AboutWindow::FormCreate() {
    app_.guard({"0.002 - 005."}, [&] {
        form_->get<ui::Image>("ImageLogo").setPicture(LogoPicture(app_));
        auto& memo = form_->get<ui::Memo>("Memo3");
        memo.addLine(app_.start.LMVVersionTitle);
        memo.addLine(versionLine(app_));
    }, [&] { return versionDump(app_, false); });
}

// ---- unsupported system -----------------------------------------------------------------

NotSupportedOsWindow::NotSupportedOsWindow(App& app) : app_(app), form_(forms::build(forms::notSupportedOsForm(), app.ui)) {
    form_->onCreate = [this] { FormCreate(); };
    form_->get<ui::Button>("ButtonOk").onClick = [this] { app_.guard({"0.004 - 004."}, [this] { app_.ui.terminate(); }); };
    // The close box and Alt+F4 end the program too: left running, its hidden
    // clock would make every later start give way to it as to a first copy.
    form_->onClose = [this] { app_.guard({"0.004 - 005."}, [this] { app_.ui.terminate(); }); };
    bindLinks(app_, *form_, "0.004 - 002.", platform::kSwRestore, "0.004 - 003.");
}

NotSupportedOsWindow::~NotSupportedOsWindow() = default;

void NotSupportedOsWindow::showModal() {
    app_.ui.realize(*form_);
    app_.ui.showModal(*form_);
}

void NotSupportedOsWindow::FormCreate() {
    app_.guard({"0.004 - 001."}, [&] {
        auto& memo = form_->get<ui::Memo>("Memo2");
        memo.addLine(versionLine(app_));
        memo.addLine(app_.start.LMVVersionTitle);
        form_->get<ui::Image>("ImageLogo").setPicture(LogoPicture(app_));
        if (app_.splash) app_.splash->releasePicture();  // the program ends after this window
    }, [&] { return versionDump(app_, true); });
}

}  // namespace app

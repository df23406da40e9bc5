#include "errors/ErrorWindow.h"
#include "app/App.h"
#include "forms/Forms.h"

namespace errors {

ErrorWindow::ErrorWindow(app::App& app) : app_(app), form_(forms::build(forms::errorForm(), app.ui)) {
    form_->onCreate = [this] { FormCreate(); };
    form_->onClose = [this] { FormClose(); };
    form_->get<ui::Button>("Button3").onClick = [this] { Button3Click(); };
}

ErrorWindow::~ErrorWindow() = default;

void ErrorWindow::open(const std::string& codeLine) {
    try {
        app_.ui.realize(*form_);
        form_->get<ui::Label>("Label2").setCaption(codeLine);
        app_.audio.messageBeep(0x10);
        app_.ui.showModal(*form_);
    } catch (...) {
        // Without a window the failure is still in the log; keep the counts right.
        if (!form_->closed()) FormClose();
    }
}

void ErrorWindow::FormCreate() {
    app_.guard({"0.054 - 006."}, [&] { app_.err.ErrorWindowOpen = true; });
}

void ErrorWindow::FormClose() {
    app_.err.ErrorWindowOpen = false;
    --app_.start.ShowModalRes;
}

void ErrorWindow::Button3Click() {
    app_.guard({"0.054 - 004."}, [&] {
        form_->get<ui::Button>("Button3").setEnabled(false);
        form_->close();
    });
}

}  // namespace errors

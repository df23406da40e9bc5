#include "errors/ErrorWindow.h"
#include "errors/Guard.h"
#include "forms/Forms.h"

namespace errors {

ErrorWindow::ErrorWindow(Ports ports, Guard& guard, ErrorState& state, core::Session& session)
    : ports_(ports), guard_(guard), state_(state), session_(session),
      form_(forms::build(forms::errorForm(), ports.ui)),
      Label2_(form_->get<ui::Label>("Label2")),
      Button3_(form_->get<ui::Button>("Button3")) {
    form_->onCreate = [this] { FormCreate(); };
    form_->onClose = [this] { FormClose(); };
    Button3_.onClick = [this] { Button3Click(); };
}

ErrorWindow::~ErrorWindow() = default;

bool ErrorWindow::open(const std::string& codeLine) {
    ports_.ui.realize(*form_);
    Label2_.setCaption(codeLine);
    ports_.audio.messageBeep(platform::kBeepHand);
    ports_.ui.showModal(*form_);
    return closed_;
}

void ErrorWindow::FormCreate() {
    guard_(code::ErrorCreate, [&] { state_.ErrorWindowOpen = true; });
}

void ErrorWindow::FormClose() {
    closed_ = true;
    guard_(code::ErrorClose, [&] {
        state_.ErrorWindowOpen = false;
        --session_.ShowModalRes;
    });
}

void ErrorWindow::Button3Click() {
    guard_(code::ErrorIgnore, [&] {
        Button3_.setEnabled(false);
        form_->close();
    });
}

}  // namespace errors

#include "quickexit/WarningDialog.h"
#include "forms/Forms.h"
#include "quickexit/Engine.h"
#include "quickexit/Rules.h"

namespace quickexit {

namespace code = errors::code;

WarningDialog::WarningDialog(Engine& engine)
    : engine_(engine), modal_(engine.shared().session), form_(forms::build(forms::qsdWarningForm(), engine.ports().ui)),
      Panel1_(form_->get<ui::Panel>("Panel1")) {
    errors::Guard& guard = engine_.guard();
    auto ssdn = [this] { return errors::Dump().add("SSDN", SSDN); };
    form_->onCreate = [this] { FormCreate(); };
    form_->onClose = [this] { FormClose(); };
    form_->get<ui::Button>("Button2").onClick = [this, &guard] { guard(code::WarnOk, [this] { form_->close(); }); };
    form_->get<ui::Button>("Button1").onClick = [this, &guard, ssdn] {
        guard(code::WarnChange, [this] {
            form_->close();
            SSDN = 1;
        }, ssdn);
    };
    form_->get<ui::Button>("BitBtn1").onClick = [this, &guard] {
        guard(code::WarnHelp, [this] { engine_.openHelp(form_->handle()); });
    };
}

WarningDialog::~WarningDialog() { engine_.detachWarning(this); }

bool WarningDialog::showModal() {
    engine_.ports().ui.realize(*form_);
    engine_.ports().ui.showModal(*form_);
    return SSDN == 1;
}

void WarningDialog::close() {
    if (!form_->closed()) form_->close();
}

void WarningDialog::FormCreate() {
    engine_.guard()(code::WarnCreate, [this] {
        UpdateWarningText();
        SSDN = 0;
    }, [this] { return errors::Dump().add("SSDN", SSDN); });
}

void WarningDialog::UpdateWarningText() {
    const QuickExitState& q = engine_.state();
    std::string cap;
    engine_.guard()(code::WarnText, [&] {
        cap = warningText(q.QSDWMode, q.QSDWTimerM);
        if (!cap.empty()) Panel1_.setCaption(cap);
    }, [&] { return errors::Dump().add("QSDWMode", q.QSDWMode).add("QSDWTimerM", q.QSDWTimerM).add("cap", cap); });
}

void WarningDialog::FormClose() {
    QuickExitState& q = engine_.state();
    core::Session& session = engine_.shared().session;
    engine_.guard()(code::WarnClose, [&] {
        q.QSDWDlg = kNoWarning;
        modal_.release();
    }, [&] { return errors::Dump().add("QSDWDlg", q.QSDWDlg).add("ShowModalRes", session.ShowModalRes); });
}

}  // namespace quickexit

#include "quickexit/QuickExitWindow.h"
#include "core/Numbers.h"
#include "forms/Forms.h"

namespace quickexit {

namespace code = errors::code;

namespace {
const char* const kConfirm[] = {"Выключить компьютер сейчас?", "Перезагрузить компьютер сейчас?",
                                "Выйти из системы сейчас?", "Перевести компьютер в спящий режим сейчас?"};
}  // namespace

QuickExitWindow::QuickExitWindow(Engine& engine)
    : engine_(engine), q_(engine.state()), modal_(engine.shared().session), form_(forms::build(forms::quickShutDownForm(), engine.ports().ui)),
      ComboBox2_(form_->get<ui::ComboBox>("ComboBox2")), ComboBox1_(form_->get<ui::ComboBox>("ComboBox1")),
      CheckBoxWW_(form_->get<ui::CheckBox>("CheckBoxWW")), Button1_(form_->get<ui::Button>("Button1")),
      Button2_(form_->get<ui::Button>("Button2")), Button3_(form_->get<ui::Button>("Button3")),
      Button4_(form_->get<ui::Button>("Button4")), Button5_(form_->get<ui::Button>("Button5")),
      BitBtn1_(form_->get<ui::Button>("BitBtn1")),
      FrameTimeSet1_(*form_, "FrameTimeSet1", engine.guard(), engine.ports().audio) {
    // Known to the engine from the start: an opening meanwhile finds this window.
    engine_.attach(this);
    errors::Guard& guard = engine_.guard();
    CheckBoxWW_.setChecked(true);
    form_->onCreate = [this] { FormCreate(); };
    form_->onPaint = [this] { FormPaint(); };
    form_->onClose = [this] { FormClose(); };
    Button1_.onClick = [this] { Button1Click(); };
    Button3_.onClick = [this, &guard] {
        guard(code::QSDPause, [this] { Button3Click(); }, [this] { return errors::Dump().add("QSDWork", q_.QSDWork); });
    };
    Button2_.onClick = [this, &guard] { guard(code::QSDCloseButton, [this] { form_->close(); }); };
    Button4_.onClick = [this] { Button4Click(); };
    Button5_.onClick = [this, &guard] { guard(code::QSDSaveDefaults, [this] { Button5Click(); }); };
    BitBtn1_.onClick = [this, &guard] { guard(code::QSDHelp, [this] { engine_.openHelp(form_->handle()); }); };
    ComboBox2_.onChange = [this] { ComboBox2Change(); };
    ComboBox1_.onChange = [this] { FrameTimeSet1EditHChange(); };
    CheckBoxWW_.onClick = [this] { FrameTimeSet1EditHChange(); };
    for (ui::Control* c : std::initializer_list<ui::Control*>{&ComboBox2_, &ComboBox1_, &CheckBoxWW_})
        c->onKeyPress = [this, c](int&) { ComboBoxKeyPress(*c); };
}

// Never shown, or gone without its close: the flag goes back with the window.
QuickExitWindow::~QuickExitWindow() {
    q_.QSDVisible = 0;
    engine_.detach(this);
}

void QuickExitWindow::showModal() {
    ui::Ui& ui = engine_.ports().ui;
    ui.realize(*form_);
    ui.showModal(*form_);
    FormDestroy();
}

// ---- Panel: the engine's view of the window -----------------------------------------------

void QuickExitWindow::showTime(int hours, int minutes) {
    FrameTimeSet1_.EditH.setText(std::to_string(hours));
    FrameTimeSet1_.EditM.setText(std::to_string(minutes));
}

void QuickExitWindow::showRunning() {
    Button1_.setCaption("&Стоп");
    Button3_.setEnabled(true);
    for (ui::Control* c : std::initializer_list<ui::Control*>{&ComboBox1_, &CheckBoxWW_, &FrameTimeSet1_.EditH,
                                                              &FrameTimeSet1_.EditM, &Button4_, &Button5_})
        c->setEnabled(false);
}

void QuickExitWindow::showPaused(bool paused) { Button3_.setCaption(paused ? "&Продолжить" : "&Пауза"); }

void QuickExitWindow::showIdle() {
    for (ui::Control* c : std::initializer_list<ui::Control*>{&Button4_, &Button5_, &ComboBox1_, &CheckBoxWW_,
                                                              &FrameTimeSet1_.EditH, &FrameTimeSet1_.EditM})
        c->setEnabled(true);
    Button1_.setCaption("Запу&ск");
    Button3_.setEnabled(false);
    Button3_.setCaption("&Пауза");
}

void QuickExitWindow::close() {
    if (!form_->closed()) form_->close();
}

void QuickExitWindow::bringToFront() { engine_.ports().system.bringToFront(form_->handle()); }

// ---- handlers ---------------------------------------------------------------------------------

void QuickExitWindow::select(ui::ComboBox& list, int index) {
    list.setItemIndex(index >= 0 && index < int(list.items().size()) ? index : 0);
}

void QuickExitWindow::FormCreate() {
    const settings::Settings& s = engine_.shared().settings;
    engine_.guard()(code::QSDCreate, [&] {
        ownChange_ = true;
        // A hibernation that runs keeps its item, or the list would show another action.
        if (q_.HibrneteMode == 1 && !(q_.started() && q_.QSDWMode == kHibernate)) {
            std::vector<std::string> items = ComboBox1_.items();
            items.resize(kHibernate);
            ComboBox1_.setItems(items);
            ComboBox1_.setItemIndex(0);
        }
        engine_.CalcQSDTimer();
        q_.QSDVisible = 1;
        if (!q_.started()) {
            select(ComboBox2_, s.QSDTypeTime);
            select(ComboBox1_, s.QSDModeWork);
            if (s.QSDMsgDlg == 0) CheckBoxWW_.setChecked(false);
        } else {
            select(ComboBox2_, q_.QSDWModeTime);
            select(ComboBox1_, q_.QSDWMode);
            if (q_.QSDWDlg == kNoWarning) CheckBoxWW_.setChecked(false);
            showRunning();
            showPaused(q_.QSDWork == kPaused);
            LoadingQSDW = 1;
        }
        if (LoadingQSDW == 0) LoadingQSDW = 2;
        ownChange_ = false;
    }, [&] {
        return errors::Dump()
            .add("HibrneteMode", q_.HibrneteMode)
            .add("QSDVisible", q_.QSDVisible)
            .add("QSDWork", q_.QSDWork)
            .add("QSDWModeTime", q_.QSDWModeTime)
            .add("QSDWMode", q_.QSDWMode)
            .add("UserLoadE", UserLoadE)
            .add("QSDWDlg", q_.QSDWDlg)
            .add("LoadingQSDW", LoadingQSDW)
            .add("QSDTypeTime", s.QSDTypeTime)
            .add("QSDModeWork", s.QSDModeWork)
            .add("QSDMsgDlg", s.QSDMsgDlg);
    });
    ownChange_ = false;
}

void QuickExitWindow::FormPaint() {
    engine_.guard()(code::QSDPaint, [&] {
        if (LoadingQSDW == 1) {
            LoadingQSDW = 0;
            engine_.showSchedule(*this, q_.QSDWModeTime);
            Button4_.setEnabled(false);
        } else if (LoadingQSDW == 2) {
            LoadingQSDW = 0;
            Button4_.setEnabled(false);
        }
    }, [&] { return scheduleDump(errors::Dump().add("QSDWModeTime", q_.QSDWModeTime)).add("LoadingQSDW", LoadingQSDW); });
}

void QuickExitWindow::FormClose() {
    core::Session& session = engine_.shared().session;
    engine_.guard()(code::QSDClose, [&] {
        modal_.release();
        q_.QSDVisible = 0;
        engine_.detach(this);
    }, [&] { return errors::Dump().add("", session.ShowModalRes, false).add("", q_.QSDVisible, false); });
}

// Runs once the window has gone: with QSDVisible 0, a warning that fell due
// while the window was open shows now.
void QuickExitWindow::FormDestroy() {
    engine_.guard()(code::QSDDestroy, [&] { engine_.CalcQSDTimer(); });
}

// These two handlers' dumps spell the names with a small last letter.
errors::Dump QuickExitWindow::scheduleDump(errors::Dump d) const {
    return d.add("QSDWTimerh", q_.QSDWTimerH)
        .add("QSDWTimerm", q_.QSDWTimerM)
        .add("QSDWTimeh", q_.QSDWTimeH)
        .add("QSDWTimem", q_.QSDWTimeM);
}

Choices QuickExitWindow::choices(int hours, int minutes) const {
    return {ComboBox2_.itemIndex(), hours, minutes, ComboBox1_.itemIndex(), CheckBoxWW_.checked()};
}

void QuickExitWindow::Button1Click() {
    struct {
        bool ExitNow = false, Checked = false, ErrorRange = false, nowStart = false;
        int HourT = 0, MinuteT = 0, Minute2T = 0;
    } v;
    engine_.guard()(code::QSDStartStop, [&] {
        ui::Edit& h = FrameTimeSet1_.EditH;
        ui::Edit& m = FrameTimeSet1_.EditM;
        if (h.text().empty()) h.setText("0");
        if (m.text().empty()) m.setText("0");
        if (q_.started()) {
            engine_.StopQSD();
            return;
        }
        // Both read before anything changes: a pasted "1a" is logged and starts nothing.
        v.HourT = core::StrToInt(h.text());
        v.MinuteT = core::StrToInt(m.text());
        if (v.HourT > 23) h.setText("23"), v.ErrorRange = true;
        if (v.HourT < 0) h.setText("0"), v.ErrorRange = true;
        if (v.MinuteT > 59) m.setText("59"), v.ErrorRange = true;
        if (v.MinuteT < 0) m.setText("0"), v.ErrorRange = true;
        if (v.ErrorRange) {
            engine_.ports().ui.messageBox("Были заданны значения времени вне диапазона! Используйте всплывающие подсказки.",
                                          "Ошибка...", ui::kMbIconHand | ui::kMbSystemModal);
            return;
        }
        if (ComboBox2_.itemIndex() == kCountdown) {
            v.ExitNow = v.HourT == 0 && v.MinuteT < 1;
        } else {
            const platform::LocalTime now = engine_.ports().clock.now();
            v.Minute2T = now.minute;
            v.ExitNow = v.HourT == now.hour && v.MinuteT == now.minute;
        }
        if (!v.ExitNow) {
            engine_.StartQSD(choices(v.HourT, v.MinuteT));
            return;
        }
        engine_.ports().audio.messageBeep(platform::kBeepExclamation);
        v.Checked = CheckBoxWW_.checked();
        ownChange_ = true;
        CheckBoxWW_.setChecked(false);  // an action at once gives no warning
        ownChange_ = false;
        const int action = ComboBox1_.itemIndex();
        const std::string question = action >= 0 && action < int(std::size(kConfirm)) ? kConfirm[action] : "";
        const int answer = engine_.ports().ui.messageBox(question, "Подтверждение...",
                                                         ui::kMbYesNo | ui::kMbIconQuestion | ui::kMbSystemModal);
        if (answer == ui::kIdNo) {
            ownChange_ = true;
            CheckBoxWW_.setChecked(v.Checked);
            ownChange_ = false;
            return;
        }
        v.nowStart = true;
        engine_.ports().ui.minimizeApp();
        engine_.ports().ui.hideAppTaskbarWindow();
        engine_.StartQSD(choices(v.HourT, v.MinuteT));
        engine_.QSDFinalAction();
    }, [&] {
        return errors::Dump()
            .add("ExitNow", v.ExitNow ? 1 : 0)
            .add("Checked", v.Checked)
            .add("ErrorRange", v.ErrorRange ? 1 : 0)
            .add("HourT", v.HourT)
            .add("MinuteT", v.MinuteT)
            .add("Minute2T", v.Minute2T)
            .add("nowStart", v.nowStart ? 1 : 0)
            .add("QSDWork", q_.QSDWork)
            .add("QSDBugGuard", q_.QSDBugGuard)
            .add("UserLoadE", UserLoadE);
    });
    ownChange_ = false;
}

void QuickExitWindow::Button3Click() {
    if (q_.QSDWork == kRunning) engine_.PauseQSD();
    else engine_.ResumeQSD();
}

void QuickExitWindow::Button4Click() {
    const settings::Settings& s = engine_.shared().settings;
    engine_.guard()(code::QSDLoadDefaults, [&] {
        Button4_.setEnabled(false);
        ownChange_ = true;
        select(ComboBox2_, s.QSDTypeTime);
        select(ComboBox1_, s.QSDModeWork);
        CheckBoxWW_.setChecked(true);
        if (s.QSDMsgDlg == 0) CheckBoxWW_.setChecked(false);
        ownChange_ = false;
    }, [&] {
        return errors::Dump()
            .add("HibrneteMode", q_.HibrneteMode)
            .add("QSDVisible", q_.QSDVisible)
            .add("QSDTypeTime", s.QSDTypeTime)
            .add("QSDModeWork", s.QSDModeWork)
            .add("QSDMsgDlg", s.QSDMsgDlg);
    });
    ownChange_ = false;
}

void QuickExitWindow::Button5Click() {
    Button4_.setEnabled(false);
    engine_.StoreQSDDefaults(choices(0, 0));
    engine_.face().saveSettings();
}

void QuickExitWindow::ComboBox2Change() {
    engine_.guard()(code::QSDTimeMode, [&] {
        if (q_.QSDWork != kIdle) {
            // Only the view changes: the running quick exit keeps its mode.
            engine_.showSchedule(*this, ComboBox2_.itemIndex());
        } else {
            Button4_.setEnabled(true);
        }
    }, [&] { return scheduleDump(errors::Dump().add("QSDWork", q_.QSDWork)); });
}

void QuickExitWindow::FrameTimeSet1EditHChange() {
    if (ownChange_) return;  // only the user's own changes count
    engine_.guard()(code::QSDChoice, [&] {
        if (q_.QSDWork == kIdle) Button4_.setEnabled(true);
    }, [&] { return errors::Dump().add("QSDWork", q_.QSDWork); });
}

void QuickExitWindow::ComboBoxKeyPress(ui::Control& from) {
    engine_.guard()(code::QSDKeyPress, [&] { form_->selectNext(from); });
}

}  // namespace quickexit

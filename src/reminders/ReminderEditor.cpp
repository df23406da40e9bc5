#include "reminders/ReminderEditor.h"
#include <cctype>
#include <filesystem>
#include <system_error>
#include "core/Numbers.h"
#include "forms/Forms.h"
#include "platform/Path.h"
#include "reminders/MessageEditor.h"
#include "sound/VoiceList.h"

namespace reminders {

namespace code = errors::code;
namespace fs = std::filesystem;

namespace {

constexpr const char* kError = "Ошибка...";
constexpr const char* kWarning = "Предупреждение...";
constexpr unsigned kErrorBox = ui::kMbIconHand | ui::kMbSystemModal;
constexpr unsigned kWarningBox = ui::kMbIconExclamation | ui::kMbSystemModal;

bool digit(char c) { return c >= '0' && c <= '9'; }

// The number written back as two digits: "7" and a pasted "+7" both become "07".
std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

TimeCheck ranged(const std::string& text, int hi) {
    TimeCheck t;
    int n = core::StrToInt(text.empty() ? "0" : text);
    if (n > hi) n = hi, t.outOfRange = true;
    if (n < 0) n = 0, t.outOfRange = true;
    t.hour = t.minute = twoDigits(n);
    return t;
}

// The extension after the last dot of the file name, in lower case (ASCII:
// the ones that count are).
std::string lowerExtension(const std::string& path) {
    const std::size_t name = path.find_last_of("\\/");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (name != std::string::npos && dot < name)) return {};
    std::string ext = path.substr(dot);
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

}  // namespace

TimeCheck CheckHour(const std::string& text) {
    const bool wildcard = text == "*" || text == "**" ||
                          (text.size() == 2 && ((text[0] == '*' && digit(text[1])) || (digit(text[0]) && text[1] == '*')));
    if (wildcard) return {"**", "**", false};
    return ranged(text, 23);
}

TimeCheck CheckMinute(const std::string& text) { return ranged(text, 59); }

ReminderEditor::ReminderEditor(const EditorDeps& deps, ui::Form* owner, const ListView* list)
    : d_(deps), modal_(deps.session), owner_(owner), list_(list), form_(forms::build(forms::signForm(), deps.ui)),
      PageControl1_(form_->get<ui::PageControl>("PageControl1")), LabeledEdit1_(form_->get<ui::Edit>("LabeledEdit1")),
      CheckBox1_(form_->get<ui::CheckBox>("CheckBox1")), CheckBox2_(form_->get<ui::CheckBox>("CheckBox2")),
      CheckBox3_(form_->get<ui::CheckBox>("CheckBox3")), CheckBox4_(form_->get<ui::CheckBox>("CheckBox4")),
      CheckBox5_(form_->get<ui::CheckBox>("CheckBox5")), CheckBox6_(form_->get<ui::CheckBox>("CheckBox6")),
      CheckBox7_(form_->get<ui::CheckBox>("CheckBox7")), ComboBox6_(form_->get<ui::ComboBox>("ComboBox6")),
      ComboBox7_(form_->get<ui::ComboBox>("ComboBox7")), Panel3_(form_->get<ui::Panel>("Panel3")),
      Edit1_(form_->get<ui::Edit>("Edit1")), Button1_(form_->get<ui::Button>("Button1")),
      Button2_(form_->get<ui::Button>("Button2")), Button5_(form_->get<ui::Button>("Button5")),
      Button6_(form_->get<ui::Button>("Button6")), SpeedButton1_(form_->get<ui::Button>("SpeedButton1")),
      SpeedButton2_(form_->get<ui::Button>("SpeedButton2")), SpeedButton3_(form_->get<ui::Button>("SpeedButton3")),
      BitBtn1_(form_->get<ui::Button>("BitBtn1")), Timer1_(form_->timer("Timer1")),
      FrameTimeSet1_(*form_, "FrameTimeSet1", deps.guard, deps.audio) {
    for (int i = 0; i < 7; ++i) SP_[std::size_t(i)] = &form_->get<ui::CheckBox>("SP" + std::to_string(i + 1));
    // The initial state, before any handler is bound.
    for (ui::CheckBox* day : SP_) day->setChecked(true);
    CheckBox6_.setChecked(true);
    CheckBox1_.setChecked(true);
    ComboBox6_.setItemIndex(0);

    errors::Guard& guard = d_.guard;
    form_->onCreate = [this] { FormCreate(); };
    form_->onPaint = [this] { FormPaint(); };
    form_->onClose = [this] { FormClose(); };
    Button1_.onClick = [this] { Button1Click(); };
    Button2_.onClick = [this] { Button2Click(); };
    CheckBox2_.onClick = [this] { CheckBox2Click(); };
    CheckBox5_.onClick = [this] { CheckBox5Click(); };
    CheckBox6_.onClick = [this] { CheckBox6Click(); };
    CheckBox7_.onClick = [this] { CheckBox7Click(); };
    ComboBox6_.onChange = [this, &guard] {
        guard(code::SignSoundList, [this] { d_.settings.SoundHType = ComboBox6_.itemIndex(); });
    };
    ComboBox7_.onChange = [this, &guard] {
        guard(code::SignVoiceList, [this] { d_.settings.VoiceType = ComboBox7_.text(); });
    };
    SpeedButton1_.onClick = [this] { SpeedButton1Click(); };
    SpeedButton2_.onClick = [this] { SpeedButton2Click(); };
    SpeedButton3_.onClick = [this, &guard] { guard(code::SignStopFile, [this] { stopPreview(); }); };
    Button6_.onClick = [this] { Button6Click(); };
    Button5_.onClick = [this, &guard] {
        // The recorder may be missing (it is, on later systems): nothing is said.
        guard(code::SignRecorder, [this] { d_.shell.open("sndrec32.exe", "", "", platform::kSwNormal, 0); });
    };
    BitBtn1_.onClick = [this, &guard] {
        guard(code::SignHelp, [this] { OpenEditorHelp(d_.shell, d_.paths, form_->handle()); });
    };
    Timer1_.onTimer = [this] { Timer1Timer(); };
    PageControl1_.onChange = [this] { PageControl1Change(); };
    FrameTimeSet1_.EditH.onKeyPress = [this](int& key) { FrameTimeSet1EditHKeyPress(key); };
}

// A window that never closed (it could not be made, say) still gives the
// borrowed settings and the count of modal windows back.
ReminderEditor::~ReminderEditor() {
    if (closed_) return;
    if (created_) {
        d_.settings.SoundHType = SavedSoundHType;
        d_.settings.VoiceType = SavedVoiceType;
    }
}

void ReminderEditor::showModal() {
    d_.ui.realize(*form_);
    d_.ui.showModal(*form_);
}

// ---- opening and closing ----------------------------------------------------------------------

void ReminderEditor::FormCreate() {
    // Kept first, so that a close after a failed start gives back what was there.
    SavedSoundHType = d_.settings.SoundHType;
    SavedVoiceType = d_.settings.VoiceType;
    created_ = true;
    d_.guard(code::SignCreate, [this] {
        // Opening the editor silences a reminder sound that plays.
        d_.reminderSound.Stop();
        if (d_.edit.ReminderEditMode != kAddRemind) loadReminder();
        fillVoices();
        d_.settings.SoundHType = 0;
        PageControl1_.setActivePage(0);
    });
}

// The stored values in place of the editor's own: a box is ticked only for a
// value the reminder has, so that "&Ок" stores back what was there. Ticking
// a box runs its click handler as a user's tick would, with RemindLoading
// telling it apart.
void ReminderEditor::loadReminder() {
    Reminder r;
    d_.store.LoadRemindToEditor(d_.edit.SelectedRemind, r);
    loadedVoice_ = r.VoiceType;
    struct Loading {
        RemindEdit& e;
        explicit Loading(RemindEdit& edit) : e(edit) { e.RemindLoading = true; }
        ~Loading() { e.RemindLoading = false; }
    } loading(d_.edit);
    LabeledEdit1_.setText(r.Name);
    CheckBox4_.setChecked(r.OneLaunch);
    if (r.SoundType) ComboBox6_.setItemIndex(*r.SoundType);
    CheckBox6_.setChecked(r.SoundType.has_value());
    if (r.VoiceType) CheckBox5_.setChecked(true);  // the voice wins, as it does when the reminder fires
    if (r.SoundFile) {
        Edit1_.setText(*r.SoundFile);
        CheckBox7_.setChecked(true);
        Edit1_.setEnabled(true);
    }
    CheckBox1_.setChecked(r.IgnoreLowTime);
    CheckBox3_.setChecked(r.IgnoreDisSound);
    if (r.Msg) CheckBox2_.setChecked(true);
    for (std::size_t day = 0; day < SP_.size(); ++day) SP_[day]->setChecked(r.Days[day]);
}

void ReminderEditor::fillVoices() {
    sound::FillVoiceList(d_.talk, d_.paths, ComboBox7_, Panel3_,
                         d_.edit.ReminderEditMode != kAddRemind ? d_.edit.EditRemindVoice : d_.settings.VoiceType,
                         loadedVoice_.has_value());
}

void ReminderEditor::FormPaint() {
    d_.guard(code::SignPaint, [this] {
        if (d_.edit.ReminderEditMode == kAddRemind || d_.edit.EditRemindH == "-*-") return;
        FrameTimeSet1_.EditH.setText(d_.edit.EditRemindH);
        FrameTimeSet1_.EditM.setText(d_.edit.EditRemindM);
        d_.edit.EditRemindH = "-*-";  // later paints leave the fields to the user
    });
}

void ReminderEditor::FormClose() {
    closed_ = true;
    d_.guard(code::SignClose, [this] {
        d_.settings.SoundHType = SavedSoundHType;
        d_.settings.VoiceType = SavedVoiceType;
        modal_.release();
        // Closed by its close box while a file plays, the window would leave the
        // sound without a stop button and its alias open, and the next preview
        // could not open it.
        stopPreview();
    });
}

// ---- Ok and cancel ----------------------------------------------------------------------------

Reminder ReminderEditor::contents() const {
    Reminder r;
    r.Name = LabeledEdit1_.text();
    r.TimeH = FrameTimeSet1_.EditH.text();
    r.TimeM = FrameTimeSet1_.EditM.text();
    r.OneLaunch = CheckBox4_.checked();
    if (CheckBox6_.checked()) r.SoundType = ComboBox6_.itemIndex();
    if (CheckBox5_.checked()) r.VoiceType = ComboBox7_.text();
    if (SpeedButton2_.enabled()) r.SoundFile = Edit1_.text();
    r.IgnoreLowTime = CheckBox1_.checked();
    r.IgnoreDisSound = CheckBox3_.checked();
    if (CheckBox2_.checked()) r.Msg = Message{d_.edit.RemindMsgCaption, d_.edit.RemindMsgText, d_.edit.RemindMsgIcon};
    for (std::size_t day = 0; day < SP_.size(); ++day) r.Days[day] = SP_[day]->checked();
    return r;
}

void ReminderEditor::Button1Click() {
    d_.guard(code::SignOk, [this] {
        ui::Edit& h = FrameTimeSet1_.EditH;
        ui::Edit& m = FrameTimeSet1_.EditM;
        const TimeCheck hour = CheckHour(h.text());
        h.setText(hour.hour);
        const TimeCheck minute = CheckMinute(m.text());
        m.setText(minute.minute);
        if (hour.outOfRange || minute.outOfRange) {
            d_.ui.messageBox("Были заданны значения времени вне диапазона! Используйте всплывающие подсказки.", kError,
                             kErrorBox);
            return;
        }
        stopPreview();
        if (!CheckBox5_.checked() && !CheckBox6_.checked() && !SpeedButton2_.enabled() && !CheckBox2_.checked()) {
            d_.ui.messageBox("Отключены звуковые сигналы и сообщение, напоминание пустое! Включите звуки или введите "
                             "сообщение или нажмите отмену.",
                             kError, kErrorBox);
            return;
        }
        const Reminder r = contents();
        const int stored = d_.edit.ReminderEditMode != kAddRemind ? d_.store.UpdateRemind(r) : d_.store.AddRemind(r);
        if (stored == 1) {
            if (list_) d_.store.ListReminds(*list_);
            form_->close();
            return;
        }
        d_.ui.messageBox("Задание с таким временем исполнения уже существует. Введите другое время.", kError, kErrorBox);
        PageControl1_.setActivePage(0);
    });
}

void ReminderEditor::Button2Click() {
    d_.guard(code::SignCancel, [this] {
        form_->close();
        stopPreview();
    });
}

// ---- the check boxes --------------------------------------------------------------------------

void ReminderEditor::CheckBox2Click() {
    d_.guard(code::SignMessageBox, [this] {
        stopPreview();
        if (d_.edit.RemindLoading) {
            d_.state.RemindMsgSet = 1;
            d_.state.RemindMsgAccepted = 1;
            return;
        }
        if (!CheckBox2_.checked()) return;
        MessageEditor message({d_.ui, d_.shell}, d_.paths, d_.edit, d_.state, d_.guard);
        message.showModal();
        CheckBox2_.setChecked(d_.state.RemindMsgAccepted == 1);
    });
}

void ReminderEditor::CheckBox5Click() {
    d_.guard(code::SignVoiceBox, [this] {
        stopPreview();
        ComboBox7_.setEnabled(CheckBox5_.checked());
        if (CheckBox5_.checked()) CheckBox6_.setChecked(false);
        SpeedButton1_.setEnabled(CheckBox5_.checked());
    });
}

void ReminderEditor::CheckBox6Click() {
    d_.guard(code::SignSoundBox, [this] {
        stopPreview();
        ComboBox6_.setEnabled(CheckBox6_.checked());
        if (CheckBox6_.checked()) CheckBox5_.setChecked(false);
        SpeedButton1_.setEnabled(CheckBox6_.checked());
    });
}

bool ReminderEditor::fileExists(const std::string& path) const {
    if (path.empty()) return false;
    std::error_code ec;
    static_cast<void>(fs::last_write_time(platform::u8path(path), ec));
    return !ec;
}

void ReminderEditor::CheckBox7Click() {
    d_.guard(code::SignFileBox, [this] {
        stopPreview();
        SpeedButton2_.setEnabled(fileExists(Edit1_.text()));
        const bool on = CheckBox7_.checked();
        Button6_.setEnabled(on);
        Edit1_.setEnabled(on);
        Button5_.setEnabled(on);
        if (!on) SpeedButton2_.setEnabled(false);  // an unticked box stores no file
    });
}

// ---- previews ---------------------------------------------------------------------------------

void ReminderEditor::SpeedButton1Click() {
    d_.guard(code::SignPreview, [this] {
        if (!CheckBox5_.checked()) {
            d_.chime.PlayChimeSound(ComboBox6_.itemIndex());
            return;
        }
        // Out of the way while the time is spoken, and back however it went.
        struct Hidden {
            ui::Form& editor;
            ui::Form* owner;
            Hidden(ui::Form& e, ui::Form* o) : editor(e), owner(o) {
                if (owner) owner->hide();
                editor.hide();
            }
            ~Hidden() {
                editor.show();
                if (owner) owner->show();
            }
        } hidden(*form_, owner_);
        d_.talk.SpeakTime(ComboBox7_.text());
    });
}

void ReminderEditor::stopPreview() {
    if (d_.state.PreviewSoundPath) {
        d_.audio.mciSend("stop mySnd", false);
        d_.audio.mciSend("close mySnd", false);
    }
    SpeedButton2_.setVisible(true);
    SpeedButton3_.setVisible(false);
    Timer1_.setEnabled(false);
    d_.state.PreviewSoundPath = std::string();
}

void ReminderEditor::SpeedButton2Click() {
    d_.guard(code::SignPlayFile, [this] {
        const std::string shortPath = d_.audio.shortPath(Edit1_.text());
        d_.state.PreviewSoundPath = shortPath;
        // Quoted: where a volume has no short names the path keeps its blanks.
        if (d_.audio.mciSend("open \"" + shortPath + "\" alias mySnd", false).error != 0) {
            // Nothing plays: the play button stays rather than a stop button for silence.
            stopPreview();
            d_.audio.messageBeep(platform::kBeepDefault);
            return;
        }
        d_.audio.mciSend("play mySnd", false);
        Timer1_.setEnabled(true);
        SpeedButton3_.setVisible(true);
        SpeedButton2_.setVisible(false);
    });
}

void ReminderEditor::Timer1Timer() {
    d_.guard(code::SignTimer, [this] {
        if (!d_.state.PreviewSoundPath) {
            Timer1_.setEnabled(false);
            SpeedButton2_.setVisible(true);
            SpeedButton3_.setVisible(false);
            return;
        }
        const platform::MciResult mode = d_.audio.mciSend("status mySnd mode", true);
        // A device that no longer answers has stopped as surely as one that says so.
        if (mode.error != 0 || mode.reply == "stopped") stopPreview();
    });
}

void ReminderEditor::PageControl1Change() {
    d_.guard(code::SignPageChange, [this] {
        if (d_.state.PreviewSoundPath) stopPreview();
        else d_.state.PreviewSoundPath = std::string();
    });
}

// ---- the file ---------------------------------------------------------------------------------

void ReminderEditor::Button6Click() {
    d_.guard(code::SignBrowse, [this] {
        stopPreview();
        ui::OpenFileDialog dialog;
        dialog.title = "Укажите имя файла";
        dialog.filter = {{"Звуковые файлы [.mp3, .wav, .wma]", "*.mp3; *.wav; *.wma;"}, {"Все файлы", "*.*"}};
        // The field names a file; the dialog wants its folder.
        const std::string chosen = Edit1_.text();
        const std::size_t slash = chosen.find_last_of("\\/");
        dialog.initialDir = slash == std::string::npos ? std::string() : chosen.substr(0, slash);
        dialog.owner = form_->handle();
        dialog.canClose = [this](const std::string& path) { return OpenDialogBUCanClose(path); };
        d_.ui.openFile(dialog);  // the choice was taken as the dialog closed
    });
}

bool ReminderEditor::OpenDialogBUCanClose(const std::string& path) {
    bool canClose = false;
    d_.guard(code::SignFileChosen, [&] {
        const std::string ext = lowerExtension(path);
        if (ext != ".mp3" && ext != ".wav" && ext != ".wma") {
            d_.audio.messageBeep(platform::kBeepExclamation);
            d_.ui.messageBox("Через данную функцию можно проиграть только музыкальные файлы форматов \".mp3\", "
                             "\".wav\" и \".wma\"!",
                             kWarning, kWarningBox);
            return;
        }
        Edit1_.setText(path);
        CheckBox7_.setChecked(true);
        if (fileExists(path)) SpeedButton2_.setEnabled(true);
        Edit1_.setEnabled(true);
        canClose = true;
        if (d_.session.Win9xMode && ext != ".wav") {
            d_.audio.messageBeep(platform::kBeepExclamation);
            d_.ui.messageBox("В системах Windows 98/ME корректное проигрывание файлов форматов \".mp3\" и \".wma\" не "
                             "гарантируется!",
                             kWarning, kWarningBox);
        }
    });
    return canClose;
}

// ---- the hour field ---------------------------------------------------------------------------

void ReminderEditor::FrameTimeSet1EditHKeyPress(int& key) {
    d_.guard(code::SignHourKey, [&] {
        if (key == '\r') form_->selectNext(FrameTimeSet1_.EditH);
        if (key != '\b' && key != '*' && !(key >= '0' && key <= '9')) {
            key = 0;
            d_.audio.messageBeep(platform::kBeepDefault);
        }
    });
}

// ---- the opener -------------------------------------------------------------------------------

void OpenReminderEditor(const EditorDeps& deps, EditMode mode, int selected, ui::Form* owner, const ListView* list) {
    deps.edit.ReminderEditMode = mode;
    if (mode == kEditRemind) deps.edit.SelectedRemind = selected;
    ReminderEditor editor(deps, owner, list);
    editor.showModal();
}

}  // namespace reminders

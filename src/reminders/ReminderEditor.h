#pragma once
#include <array>
#include <memory>
#include <optional>
#include <string>
#include "core/Paths.h"
#include "core/Session.h"
#include "errors/Guard.h"
#include "platform/Audio.h"
#include "platform/Shell.h"
#include "quickexit/TimeSetFrame.h"
#include "reminders/EditorState.h"
#include "reminders/Reminder.h"
#include "reminders/State.h"
#include "reminders/Store.h"
#include "settings/Settings.h"
#include "sound/Chime.h"
#include "sound/ReminderSound.h"
#include "sound/TalkingClock.h"
#include "ui/Form.h"
#include "ui/Ui.h"

namespace reminders {

// What the reminder editor works with.
struct EditorDeps {
    platform::Audio& audio;
    platform::Shell& shell;
    ui::Ui& ui;
    const core::Paths& paths;
    core::Session& session;
    settings::Settings& settings;
    sound::TalkingClock& talk;
    sound::Chime& chime;
    sound::ReminderSound& reminderSound;
    Store& store;
    RemindEdit& edit;
    EditorState& state;
    errors::Guard& guard;
};

enum EditMode : int { kAddRemind = 0, kEditRemind = 1 };

// The hour field's text on Ok: "**" for every hour ("*", "*5" and "5*" mean
// it too), else the hour as two digits. ConversionError for a non-number.
struct TimeCheck {
    std::string hour, minute;
    bool outOfRange = false;
};
TimeCheck CheckHour(const std::string& text);
TimeCheck CheckMinute(const std::string& text);

// TFormSign: creates a reminder or edits the selected one, and previews its voice, system
// sound or sound file. While it is open SoundHType and VoiceType hold its choice;
// it gives them back however it closes. The previews are told what to play.
class ReminderEditor {
public:
    // `owner` (the settings window) hides with the editor while the time is
    // spoken; `list` is filled afresh after a reminder was stored.
    ReminderEditor(const EditorDeps& deps, ui::Form* owner = nullptr, const ListView* list = nullptr);
    ~ReminderEditor();
    ReminderEditor(const ReminderEditor&) = delete;
    ReminderEditor& operator=(const ReminderEditor&) = delete;

    // Realizes and shows the window; returns once it has closed. The editor
    // counts itself in ShowModalRes from its making until its close.
    void showModal();
    ui::Form& form() { return *form_; }

private:
    void FormCreate();
    void FormPaint();
    void FormClose();
    void Button1Click();
    void Button2Click();
    void CheckBox2Click();
    void CheckBox5Click();
    void CheckBox6Click();
    void CheckBox7Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Button6Click();
    bool OpenDialogBUCanClose(const std::string& path);
    void Timer1Timer();
    void PageControl1Change();
    void FrameTimeSet1EditHKeyPress(int& key);

    void loadReminder();
    void fillVoices();
    Reminder contents() const;
    void stopPreview();
    bool fileExists(const std::string& path) const;

    EditorDeps d_;
    core::ModalCount modal_;
    ui::Form* owner_;
    const ListView* list_;
    std::unique_ptr<ui::Form> form_;
    ui::PageControl& PageControl1_;
    ui::Edit& LabeledEdit1_;
    ui::CheckBox &CheckBox1_, &CheckBox2_, &CheckBox3_, &CheckBox4_, &CheckBox5_, &CheckBox6_, &CheckBox7_;
    ui::ComboBox &ComboBox6_, &ComboBox7_;
    ui::Panel& Panel3_;
    ui::Edit& Edit1_;
    ui::Button &Button1_, &Button2_, &Button5_, &Button6_, &SpeedButton1_, &SpeedButton2_, &SpeedButton3_, &BitBtn1_;
    std::array<ui::CheckBox*, 7> SP_{};
    ui::Timer& Timer1_;
    quickexit::TimeSetFrame FrameTimeSet1_;
    std::optional<std::string> loadedVoice_;  // the edited reminder's voice, installed or not
    int SavedSoundHType = 0;
    std::string SavedVoiceType;
    bool created_ = false, closed_ = false;
};

// The settings window's way in: add a reminder, or edit reminder `selected`.
void OpenReminderEditor(const EditorDeps& deps, EditMode mode, int selected, ui::Form* owner = nullptr,
                        const ListView* list = nullptr);

}  // namespace reminders

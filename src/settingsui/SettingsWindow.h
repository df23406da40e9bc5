#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include "core/ClockFace.h"
#include "platform/Clock.h"
#include "platform/System.h"
#include "core/Session.h"
#include "quickexit/Engine.h"
#include "reminders/ReminderEditor.h"
#include "reminders/Scheduler.h"
#include "settingsui/ExitMode.h"
#include "settingsui/SoundPage.h"
#include "settings/BackUpFile.h"
#include "settings/SettingsStore.h"
#include "ui/Form.h"

namespace settingsui {

// What the settings window works with. The reminder editor's share also
// serves the window itself (ports, paths, settings, sounds, guard).
struct Deps {
    reminders::EditorDeps editor;
    platform::System& system;
    platform::Clock& clock;
    settings::Store& store;
    settings::BackUpFile& backUp;
    reminders::Scheduler& scheduler;
    core::ClockFace& face;
    quickexit::Engine& quickExit;
    ExitModeKind& ExitMode;  // still open or closed another way, closed by "&Ok", by "&Отмена"
};

// The name a backup is saved under: ".SetLMV" added unless the name has it
// (in any letter case) already.
std::string BackUpName(const std::string& chosen);
// The save dialog's suggestion for a day: "BackUp[mm.dd.yy]".
std::string SuggestedBackUpName(const platform::LocalTime& today);

// TFormSettings: every setting, edited in the settings record at once and
// shown on the clock; "&Ok" stores them, every other way out loads the stored
// ones back. The reminders page writes to the store at once.
class SettingsWindow final : public settings::BackUpView {
public:
    explicit SettingsWindow(const Deps& deps);
    ~SettingsWindow() override;
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    // Makes the window; FormCreate runs.
    void realize();
    // Loads a backup file into the window before it is shown (the first launch's defaults).
    void preload(const std::filesystem::path& file);
    // Puts the start-at-log-on choice in the record and the list, as if chosen.
    void offerAutoLaunch(int mode);
    // Shows it modally; returns once it has closed. The window counts itself
    // in ShowModalRes from its making until its close.
    void showModal();
    void bringToFront();
    ui::Form& form() { return *form_; }

    // settings::BackUpView
    void showSettings(const settings::Settings& earlier) override;
    void listReminds() override;
    void markChanged() override;
    void showLastBackUp(const std::string& text) override;

private:
    // Handlers, named after control and event.
    void FormCreate();
    void FormClose();
    void ButtonOkClick();
    void ButtonCancelClick();
    void ButtonSaveBackUpClick();
    bool SaveDialogBUCanClose(const std::string& path);
    void ButtonLoadBackUpClick();
    void ButtonSetFontClick();
    void SetFontApply(const ui::Font& font);
    void SetFontClose();
    void Panel11Click();
    void TrackBar4Change();
    void CheckBox1Click();
    void CheckBoxQEClick();
    void CheckBoxSTClick();
    void CheckBox10Click();
    void ComboBox1Change();
    void CheckBoxGlobalHKClick();
    void CheckBoxSoundHClick();
    void CheckBoxSoundH05Click();
    void ComboBoxSoundHChange();
    void SpeedButtonSoundHClick();
    void CheckBoxTimeVoiceClick();
    void CheckBoxTVoice05Click();
    void ComboBoxChangeVoiceChange();
    void SpeedButtonVoiceClick();
    void CheckBox9Click();
    void ComboBox2Change();
    void ComboBox3Change();
    void Button4Click();
    void Button2Click();
    void Button3Click();
    void CheckListBox1ClickCheck();
    void CheckListBox1DblClick();
    void CheckListBox1MouseUp(const ui::MouseEvent& e);
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void ApplyClockFont();

    // Every control from the settings record, through the check boxes' own
    // rules; the voice list is read from the Sounds folder first when asked.
    void showRecord(bool readVoices);
    // "&Редактировать" and the double click: the editor for the selected line.
    void editSelected();
    // The selected line of the reminder list, or nothing.
    const std::string* selectedLine() const;
    void choose(const errors::Code&, int settings::Settings::*field, const char* name, const ui::ComboBox& list);
    void openHelp(const char* page);
    void closeWith(ExitModeKind exitMode);
    void reload();
    void setOpacity(int alpha);
    void changed() { ButtonCancel_.setEnabled(true); }
    errors::Guard& guard() { return d_.editor.guard; }
    settings::Settings& record() { return d_.editor.settings; }

    Deps d_;
    core::ModalCount modal_;
    std::unique_ptr<ui::Form> form_;
    ui::PageControl& PageControlSettings_;
    ui::ComboBox &ComboBox1_, &ComboBox2_, &ComboBox3_, &ComboBoxSoundH_, &ComboBoxChangeVoice_;
    ui::CheckBox &CheckBoxGlobalHK_, &CheckBox1_, &CheckBoxQE_, &CheckBoxST_, &CheckBox10_, &CheckBoxSoundH_,
        &CheckBoxSoundH05_, &CheckBoxTimeVoice_, &CheckBoxTVoice05_, &CheckBox9_;
    ui::Panel &Panel3_, &Panel8_, &Panel10_, &Panel11_;
    ui::Label& LabelAS_;
    ui::TrackBar& TrackBar4_;
    ui::Button &ButtonOk_, &ButtonCancel_, &ButtonSaveBackUp_, &ButtonLoadBackUp_, &ButtonSetFont_,
        &SpeedButtonSoundH_, &SpeedButtonVoice_, &Button2_, &Button3_, &Button4_;
    ui::CheckListBox& CheckListBox1_;
    reminders::ListView list_;
    SoundPage sounds_;
    int ListMouseY = 0;
    // The window has set the clock's opacity: a reload must set it back.
    bool opacitySet_ = false;
    settings::Settings opened_;  // the record as the window found it
    bool created_ = false, closed_ = false;
};

}  // namespace settingsui

#include "settingsui/SettingsWindow.h"
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include "forms/Forms.h"
#include "platform/Path.h"
#include "settings/Fields.h"

namespace settingsui {

namespace code = errors::code;
namespace fs = std::filesystem;

namespace {

constexpr const char* kBackUpTitle = "Укажите имя файла";
constexpr const char* kBackUpExt = "SetLMV";
constexpr const char* kWarning = "Предупреждение";
constexpr unsigned kQuestion = ui::kMbYesNo | ui::kMbIconExclamation | ui::kMbSystemModal;

template <class Dialog>
Dialog backUpDialog(const core::Paths& paths, platform::WindowId owner) {
    Dialog d;
    d.title = kBackUpTitle;
    d.filter = {{"Файлы зарезервных параметров[*.SetLMV]", "*.SetLMV"}, {"Все файлы", "*.*"}};
    d.defaultExt = kBackUpExt;
    d.initialDir = platform::u8string(paths.backupDir());
    d.owner = owner;
    return d;
}

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::string BackUpName(const std::string& chosen) {
    const std::size_t name = chosen.find_last_of("\\/");
    const std::size_t dot = chosen.rfind('.');
    const bool hasExt = dot != std::string::npos && (name == std::string::npos || dot > name);
    if (hasExt && lower(chosen.substr(dot + 1)) == lower(kBackUpExt)) return chosen;
    return chosen + "." + kBackUpExt;
}

std::string SuggestedBackUpName(const platform::LocalTime& today) {
    char date[16];
    std::snprintf(date, sizeof date, "%02d.%02d.%02d", today.month % 100, today.day % 100, today.year % 100);
    return std::string("BackUp[") + date + "]";
}

SettingsWindow::SettingsWindow(const Deps& deps)
    : d_(deps), modal_(deps.editor.session), form_(forms::build(forms::settingsForm(), deps.editor.ui)),
      PageControlSettings_(form_->get<ui::PageControl>("PageControlSettings")),
      ComboBox1_(form_->get<ui::ComboBox>("ComboBox1")), ComboBox2_(form_->get<ui::ComboBox>("ComboBox2")),
      ComboBox3_(form_->get<ui::ComboBox>("ComboBox3")), ComboBoxSoundH_(form_->get<ui::ComboBox>("ComboBoxSoundH")),
      ComboBoxChangeVoice_(form_->get<ui::ComboBox>("ComboBoxChangeVoice")),
      CheckBoxGlobalHK_(form_->get<ui::CheckBox>("CheckBoxGlobalHK")),
      CheckBox1_(form_->get<ui::CheckBox>("CheckBox1")), CheckBoxQE_(form_->get<ui::CheckBox>("CheckBoxQE")),
      CheckBoxST_(form_->get<ui::CheckBox>("CheckBoxST")), CheckBox10_(form_->get<ui::CheckBox>("CheckBox10")),
      CheckBoxSoundH_(form_->get<ui::CheckBox>("CheckBoxSoundH")),
      CheckBoxSoundH05_(form_->get<ui::CheckBox>("CheckBoxSoundH05")),
      CheckBoxTimeVoice_(form_->get<ui::CheckBox>("CheckBoxTimeVoice")),
      CheckBoxTVoice05_(form_->get<ui::CheckBox>("CheckBoxTVoice05")),
      CheckBox9_(form_->get<ui::CheckBox>("CheckBox9")),
      Panel3_(form_->get<ui::Panel>("Panel3")), Panel8_(form_->get<ui::Panel>("Panel8")),
      Panel10_(form_->get<ui::Panel>("Panel10")), Panel11_(form_->get<ui::Panel>("Panel11")),
      LabelAS_(form_->get<ui::Label>("LabelAS")), TrackBar4_(form_->get<ui::TrackBar>("TrackBar4")),
      ButtonOk_(form_->get<ui::Button>("ButtonOk")), ButtonCancel_(form_->get<ui::Button>("ButtonCancel")),
      ButtonSaveBackUp_(form_->get<ui::Button>("ButtonSaveBackUp")),
      ButtonLoadBackUp_(form_->get<ui::Button>("ButtonLoadBackUp")),
      ButtonSetFont_(form_->get<ui::Button>("ButtonSetFont")),
      SpeedButtonSoundH_(form_->get<ui::Button>("SpeedButtonSoundH")),
      SpeedButtonVoice_(form_->get<ui::Button>("SpeedButtonVoice")), Button2_(form_->get<ui::Button>("Button2")),
      Button3_(form_->get<ui::Button>("Button3")), Button4_(form_->get<ui::Button>("Button4")),
      CheckListBox1_(form_->get<ui::CheckListBox>("CheckListBox1")), list_{CheckListBox1_, Button2_, Button3_},
      sounds_(deps.editor.settings, {CheckBoxSoundH_, CheckBoxSoundH05_, CheckBoxTimeVoice_, CheckBoxTVoice05_,
                                     CheckBox9_, ComboBoxSoundH_, ComboBoxChangeVoice_, ComboBox2_, ComboBox3_,
                                     SpeedButtonSoundH_, SpeedButtonVoice_, Panel3_}) {
    // The design state, before any handler is bound.
    for (ui::CheckBox* box : {&CheckBox1_, &CheckBoxQE_, &CheckBoxST_, &CheckBox10_, &CheckBoxGlobalHK_})
        box->setChecked(true);
    TrackBar4_.setPosition(255);
    ComboBox1_.setItemIndex(1);
    ComboBox2_.setItemIndex(22);
    ComboBox3_.setItemIndex(9);

    form_->onCreate = [this] { FormCreate(); };
    form_->onClose = [this] { FormClose(); };
    ButtonOk_.onClick = [this] { ButtonOkClick(); };
    ButtonCancel_.onClick = [this] { ButtonCancelClick(); };
    ButtonSaveBackUp_.onClick = [this] { ButtonSaveBackUpClick(); };
    ButtonLoadBackUp_.onClick = [this] { ButtonLoadBackUpClick(); };
    ButtonSetFont_.onClick = [this] { ButtonSetFontClick(); };
    Panel11_.onClick = [this] { Panel11Click(); };
    TrackBar4_.onChange = [this] { TrackBar4Change(); };
    CheckBox1_.onClick = [this] { CheckBox1Click(); };
    CheckBoxQE_.onClick = [this] { CheckBoxQEClick(); };
    CheckBoxST_.onClick = [this] { CheckBoxSTClick(); };
    CheckBox10_.onClick = [this] { CheckBox10Click(); };
    ComboBox1_.onChange = [this] { ComboBox1Change(); };
    CheckBoxGlobalHK_.onClick = [this] { CheckBoxGlobalHKClick(); };
    CheckBoxSoundH_.onClick = [this] { CheckBoxSoundHClick(); };
    CheckBoxSoundH05_.onClick = [this] { CheckBoxSoundH05Click(); };
    ComboBoxSoundH_.onChange = [this] { ComboBoxSoundHChange(); };
    SpeedButtonSoundH_.onClick = [this] { SpeedButtonSoundHClick(); };
    CheckBoxTimeVoice_.onClick = [this] { CheckBoxTimeVoiceClick(); };
    CheckBoxTVoice05_.onClick = [this] { CheckBoxTVoice05Click(); };
    ComboBoxChangeVoice_.onChange = [this] { ComboBoxChangeVoiceChange(); };
    SpeedButtonVoice_.onClick = [this] { SpeedButtonVoiceClick(); };
    CheckBox9_.onClick = [this] { CheckBox9Click(); };
    ComboBox2_.onChange = [this] { ComboBox2Change(); };
    ComboBox3_.onChange = [this] { ComboBox3Change(); };
    Button4_.onClick = [this] { Button4Click(); };
    Button2_.onClick = [this] { Button2Click(); };
    Button3_.onClick = [this] { Button3Click(); };
    CheckListBox1_.onClickCheck = [this](int) { CheckListBox1ClickCheck(); };
    CheckListBox1_.onDblClick = [this] { CheckListBox1DblClick(); };
    CheckListBox1_.onMouseUp = [this](const ui::MouseEvent& e) { CheckListBox1MouseUp(e); };
    form_->get<ui::Button>("BitBtn1").onClick = [this] { BitBtn1Click(); };
    form_->get<ui::Button>("BitBtn2").onClick = [this] { BitBtn2Click(); };
    form_->get<ui::Button>("BitBtn3").onClick = [this] { BitBtn3Click(); };
    form_->get<ui::Button>("BitBtn4").onClick = [this] { BitBtn4Click(); };
}

// A window that never closed (it could not be made, say) still gives back
// what its opening took: the stored settings, the next reminder, the count.
SettingsWindow::~SettingsWindow() {
    if (closed_) return;
    if (created_) reload();
    d_.scheduler.FindNextRemind();
}

void SettingsWindow::realize() {
    if (!form_->peer()) d_.editor.ui.realize(*form_);
}

void SettingsWindow::preload(const fs::path& file) {
    d_.backUp.BackUpFileName = platform::u8string(file);
    d_.backUp.ReadBackUpFile(*this);
}

void SettingsWindow::offerAutoLaunch(int mode) {
    record().AutoLaunch = mode;
    ComboBox1_.setItemIndex(mode);
}

void SettingsWindow::showModal() {
    realize();
    d_.editor.ui.showModal(*form_);
}

void SettingsWindow::bringToFront() { d_.system.bringToFront(form_->handle()); }

// ---- the record shown ---------------------------------------------------------------------------

void SettingsWindow::FormCreate() {
    created_ = true;
    opened_ = record();
    const core::Session& session = d_.editor.session;
    guard()(code::SettingsCreate, [&] {
        forms::placeInGaps(*form_, forms::settingsForm());
        if (session.Win9xMode) {
            // No window transparency on that family.
            CheckBox10_.setChecked(false);
            CheckBox10_.setEnabled(false);
            TrackBar4_.setEnabled(false);
            Panel8_.setEnabled(false);
        }
        showRecord(true);
        listReminds();
        PageControlSettings_.setActivePage(0);
        ButtonCancel_.setEnabled(false);
        if (session.Win9xMode) CheckBoxST_.setEnabled(false);
    }, [&] {
        const settings::Settings& s = record();
        return errors::Dump()
            .add("LastBackUp", s.LastBackUp)
            .add("QSDGreen", s.QSDGreen)
            .add("ExitDialog", d_.ExitMode)
            .add("alphaUsed", s.AlphaUsed)
            .add("AlphaSet", s.AlphaSet)
            .add("AutoLaunch", s.AutoLaunch)
            .add("TimeOfLow", s.TimeOfLow)
            .add("TimeOfLowF", s.TimeOfLowF)
            .add("TimeOfLowS", s.TimeOfLowS)
            .add("SoundHEnabled", s.SoundHEnabled)
            .add("SoundHType", s.SoundHType)
            .add("VoiceEnabled", s.VoiceEnabled)
            .add("VoiceType", s.VoiceType)
            .add("GlobalHotkeys", s.GlobalHotkeys);
    });
}

// Controls are set to the record's state and the check boxes' rules keep the
// record and the controls that depend on them in step; a box set to the state
// it has runs no rule, so from the design state only what differs changes.
void SettingsWindow::showRecord(bool readVoices) {
    const settings::Settings& s = record();
    const bool win9x = d_.editor.session.Win9xMode;
    Panel11_.setColor(ui::Color(settings::VisibleColor(s.Color)));
    Panel10_.setCaption(s.LastBackUp);
    CheckBox1_.setChecked(s.QSDGreen != 0);
    CheckBoxQE_.setChecked(s.ItemQE);
    CheckBoxST_.setChecked(s.ItemST && !win9x);
    const bool alpha = s.AlphaUsed == 1 && !win9x;
    CheckBox10_.setChecked(alpha);
    TrackBar4_.setEnabled(alpha);
    TrackBar4_.setPosition(s.AlphaSet);
    LabelAS_.setCaption(std::to_string(s.AlphaSet));
    ComboBox1_.setItemIndex(s.AutoLaunch);
    sounds_.show(readVoices ? &d_.editor.talk : nullptr, d_.editor.paths);
    CheckBoxGlobalHK_.setChecked(s.GlobalHotkeys != 0);
}

// After a backup load: the record on the clock and in the controls. A clock
// still fading in keeps its opacity, as after a settings load.
void SettingsWindow::showSettings(const settings::Settings& earlier) {
    const int shown = d_.face.opacity();
    ApplyClockFont();
    showRecord(false);
    if (shown == earlier.AlphaSet) setOpacity(record().AlphaUsed == 1 ? record().AlphaSet : 255);
    else d_.face.setOpacity(shown);
}

void SettingsWindow::listReminds() { d_.editor.store.ListReminds(list_); }

void SettingsWindow::markChanged() { changed(); }

void SettingsWindow::showLastBackUp(const std::string& text) { Panel10_.setCaption(text); }

void SettingsWindow::setOpacity(int alpha) {
    opacitySet_ = true;
    d_.face.setOpacity(alpha);
}

// ---- closing ------------------------------------------------------------------------------------

void SettingsWindow::closeWith(ExitModeKind exitMode) {
    d_.ExitMode = exitMode;
    form_->close();
}

void SettingsWindow::ButtonOkClick() {
    guard()(code::SettingsOk, [&] {
        d_.store.StoreConfirmed();
        closeWith(kExitOk);
    }, [&] { return errors::Dump().add("ExitMode", d_.ExitMode); });
}

// The stored settings back, on the clock too. A value never stored (a first
// launch, a settings key without it) would survive the load: it goes back to
// what the window found. The opacity the window gave the clock goes as well:
// the load alone keeps an opacity that differs from the one it replaces, and
// unticked transparency would leave the clock opaque.
// A load that fails half-way leaves the record as the window found it: the
// clock and its menu go back to that too, before the error window shows.
void SettingsWindow::reload() {
    const errors::Guard::Held held(guard());
    record() = opened_;
    if (!d_.store.LoadSettings()) d_.face.apply(record());
    if (opacitySet_) setOpacity(record().AlphaUsed == 1 ? record().AlphaSet : 255);
}

void SettingsWindow::ButtonCancelClick() {
    guard()(code::SettingsCancel, [&] {
        reload();
        closeWith(kExitCancel);
    }, [&] { return errors::Dump().add("ExitMode", d_.ExitMode); });
}

void SettingsWindow::FormClose() {
    closed_ = true;
    core::Session& session = d_.editor.session;
    guard()(code::SettingsClose, [&] {
        if (d_.ExitMode == kExitOther) reload();
        d_.scheduler.FindNextRemind();
        modal_.release();
        d_.face.alignMarks();
    }, [&] { return errors::Dump().add("ExitMode", d_.ExitMode).add("ShowModalRes", session.ShowModalRes); });
}

// ---- backups ------------------------------------------------------------------------------------

void SettingsWindow::ButtonSaveBackUpClick() {
    guard()(code::SettingsSaveBackUp, [&] {
        std::error_code ec;
        fs::create_directories(d_.editor.paths.backupDir(), ec);  // the dialog copes with a folder that is not there
        if (ButtonCancel_.enabled()) {
            d_.editor.audio.messageBeep(platform::kBeepExclamation);
            if (d_.editor.ui.messageBox("В файл будут сохранены настройки с которыми программа работает сейчас!",
                                        kWarning, kQuestion) != ui::kIdYes)
                return;
        }
        auto dialog = backUpDialog<ui::SaveFileDialog>(d_.editor.paths, form_->handle());
        dialog.initialName = SuggestedBackUpName(d_.clock.now());
        dialog.canClose = [this](const std::string& path) { return SaveDialogBUCanClose(path); };
        const std::optional<std::string> chosen = d_.editor.ui.saveFile(dialog);
        if (!chosen) return;
        d_.backUp.BackUpFileName = BackUpName(*chosen);
        d_.backUp.WriteBackUpFile(*this);
    });
}

bool SettingsWindow::SaveDialogBUCanClose(const std::string& path) {
    bool canClose = false;
    guard()(code::SettingsSaveName, [&] {
        std::error_code ec;
        if (!fs::exists(platform::u8path(BackUpName(path)), ec)) {
            canClose = true;
            return;
        }
        d_.editor.audio.messageBeep(platform::kBeepExclamation);
        canClose = d_.editor.ui.messageBox("Файл уже существует. Заменить?", kWarning, kQuestion) == ui::kIdYes;
    });
    return canClose;
}

void SettingsWindow::ButtonLoadBackUpClick() {
    guard()(code::SettingsLoadBackUp, [&] {
        std::error_code ec;
        fs::create_directories(d_.editor.paths.backupDir(), ec);
        const std::optional<std::string> chosen =
            d_.editor.ui.openFile(backUpDialog<ui::OpenFileDialog>(d_.editor.paths, form_->handle()));
        if (!chosen) return;
        d_.backUp.BackUpFileName = *chosen;
        d_.backUp.ReadBackUpFile(*this);
    });
}

// ---- font and colour ----------------------------------------------------------------------------

// Black is the clock window's see-through colour: a black clock is shown dark grey.
void SettingsWindow::ApplyClockFont() {
    guard()(code::SettingsClockFont, [&] {
        record().Color = settings::VisibleColor(record().Color);
        d_.face.apply(record());
    });
}

void SettingsWindow::ButtonSetFontClick() {
    guard()(code::SettingsFontButton, [&] {
        ui::FontDialog dialog;
        dialog.font = settings::ClockFont(record());
        dialog.font.color = ui::Color(settings::VisibleColor(record().Color));
        dialog.owner = form_->handle();
        dialog.onApply = [this](const ui::Font& f) { SetFontApply(f); };
        const std::optional<ui::Font> chosen = d_.editor.ui.chooseFont(dialog);
        SetFontClose();
        if (!chosen) return;
        settings::SetClockFont(record(), *chosen);
        ApplyClockFont();
        changed();
        Panel11_.setColor(ui::Color(record().Color));
        d_.face.alignMarks();
    });
}

void SettingsWindow::SetFontApply(const ui::Font& font) {
    guard()(code::SettingsFontApply, [&] {
        settings::SetClockFont(record(), font);
        ApplyClockFont();
        changed();
    });
}

void SettingsWindow::SetFontClose() {
    guard()(code::SettingsFontClose, [&] { Panel11_.setColor(ui::Color(settings::VisibleColor(record().Color))); });
}

// The panel shows the colour the clock got, so a black choice shows as the clock's dark grey.
void SettingsWindow::Panel11Click() {
    guard()(code::SettingsColour, [&] {
        const std::optional<ui::Color> chosen =
            d_.editor.ui.chooseColor(ui::Color(settings::VisibleColor(record().Color)), form_->handle());
        if (!chosen) return;
        record().Color = int(*chosen);
        ApplyClockFont();
        Panel11_.setColor(ui::Color(record().Color));
        changed();
    });
}

// ---- the interface page -------------------------------------------------------------------------

// Only a move that changes the setting changes the clock: the window putting
// the slider where the setting is leaves a fade-in alone.
void SettingsWindow::TrackBar4Change() {
    guard()(code::SettingsAlphaSlider, [&] {
        if (record().AlphaUsed != 1 || TrackBar4_.position() == record().AlphaSet) return;
        record().AlphaSet = TrackBar4_.position();
        setOpacity(record().AlphaSet);
        LabelAS_.setCaption(std::to_string(record().AlphaSet));
        changed();
    }, [&] { return errors::Dump().add("alphaUsed", record().AlphaUsed).add("AlphaSet", record().AlphaSet); });
}

void SettingsWindow::CheckBox1Click() {
    guard()(code::SettingsGreenMark, [&] {
        record().QSDGreen = CheckBox1_.checked() ? 1 : 0;
        d_.quickExit.ShowState();  // a quick exit that runs keeps its own marks
        changed();
    }, [&] {
        return errors::Dump()
            .add("QSDGreen", record().QSDGreen)
            .add("QSDWork", d_.quickExit.state().QSDWork)
            .add("TimeMain.Height", d_.face.timeHeight());
    });
}

void SettingsWindow::CheckBoxQEClick() {
    guard()(code::SettingsItemQE, [&] {
        record().ItemQE = CheckBoxQE_.checked();
        d_.face.apply(record());
        changed();
    });
}

void SettingsWindow::CheckBoxSTClick() {
    guard()(code::SettingsItemST, [&] {
        record().ItemST = CheckBoxST_.checked();
        d_.face.apply(record());
        changed();
    });
}

// Unticked while the clock still fades in, the fade carries on towards 255.
void SettingsWindow::CheckBox10Click() {
    guard()(code::SettingsAlphaUsed, [&] {
        settings::Settings& s = record();
        if (CheckBox10_.checked()) {
            s.AlphaUsed = 1;
            TrackBar4_.setEnabled(true);
            setOpacity(s.AlphaSet);
        } else {
            s.AlphaUsed = 0;
            TrackBar4_.setEnabled(false);
            if (d_.face.opacity() == s.AlphaSet) setOpacity(255);
        }
        changed();
    }, [&] { return errors::Dump().add("alphaUsed", record().AlphaUsed).add("AlphaSet", record().AlphaSet); });
}

// ---- the general page ---------------------------------------------------------------------------

// A list's choice into its setting, as the item's index.
void SettingsWindow::choose(const errors::Code& c, int settings::Settings::*field, const char* name,
                            const ui::ComboBox& list) {
    guard()(c, [&] {
        record().*field = list.itemIndex();
        changed();
    }, [&] { return errors::Dump().add(name, record().*field); });
}

void SettingsWindow::ComboBox1Change() {
    choose(code::SettingsAutoLaunch, &settings::Settings::AutoLaunch, "AutoLaunch", ComboBox1_);
}

// The hot keys are no change that "&Отмена" needs to offer.
void SettingsWindow::CheckBoxGlobalHKClick() {
    guard()(code::SettingsHotKeys, [&] { record().GlobalHotkeys = CheckBoxGlobalHK_.checked() ? 1 : 0; },
            [&] { return errors::Dump().add("GlobalHotkeys", record().GlobalHotkeys); });
}

void SettingsWindow::BitBtn1Click() { guard()(code::SettingsHelpGeneral, [&] { openHelp("indexSetAll.htm"); }); }
void SettingsWindow::BitBtn2Click() { guard()(code::SettingsHelpInterface, [&] { openHelp("indexSetInt.htm"); }); }
void SettingsWindow::BitBtn3Click() { guard()(code::SettingsHelpSounds, [&] { openHelp("indexSetSnd.htm"); }); }
void SettingsWindow::BitBtn4Click() { guard()(code::SettingsHelpReminders, [&] { openHelp("indexSetRem.htm"); }); }

void SettingsWindow::openHelp(const char* page) {
    d_.editor.shell.open(platform::u8string(d_.editor.paths.program / "Help" / page), "", "", platform::kSwShow,
                         form_->handle());
}

// ---- the sounds page: its rules are SoundPage's ---------------------------------------------------

void SettingsWindow::CheckBoxSoundHClick() {
    guard()(code::SettingsChime, [&] {
        sounds_.hourlyClick(SoundPage::kChime);
        changed();
    }, [&] { return errors::Dump().add("SoundHEnabled", record().SoundHEnabled); });
}

void SettingsWindow::CheckBoxSoundH05Click() {
    guard()(code::SettingsChimeHalf, [&] {
        sounds_.halfHourClick(SoundPage::kChime);
        changed();
    }, [&] { return errors::Dump().add("SoundHEnabled", record().SoundHEnabled); });
}

void SettingsWindow::ComboBoxSoundHChange() {
    choose(code::SettingsChimeSound, &settings::Settings::SoundHType, "SoundHType", ComboBoxSoundH_);
}

void SettingsWindow::SpeedButtonSoundHClick() {
    guard()(code::SettingsChimeTest, [&] { d_.editor.chime.PlayChimeSound(); });
}

void SettingsWindow::CheckBoxTimeVoiceClick() {
    guard()(code::SettingsVoice, [&] {
        sounds_.hourlyClick(SoundPage::kVoice);
        changed();
    }, [&] { return errors::Dump().add("VoiceEnabled", record().VoiceEnabled); });
}

void SettingsWindow::CheckBoxTVoice05Click() {
    guard()(code::SettingsVoiceHalf, [&] {
        sounds_.halfHourClick(SoundPage::kVoice);
        changed();
    }, [&] { return errors::Dump().add("VoiceEnabled", record().VoiceEnabled); });
}

void SettingsWindow::ComboBoxChangeVoiceChange() {
    guard()(code::SettingsVoiceChoice, [&] {
        sounds_.voiceChange();
        changed();
    });
}

// Out of sight while the time is spoken, and back in front however it went.
void SettingsWindow::SpeedButtonVoiceClick() {
    guard()(code::SettingsVoiceTest, [&] {
        struct Hidden {
            SettingsWindow& w;
            explicit Hidden(SettingsWindow& window) : w(window) { w.form_->hide(); }
            ~Hidden() {
                w.form_->show();
                w.bringToFront();
            }
        } hidden(*this);
        d_.editor.talk.SpeakTime();
    });
}

void SettingsWindow::CheckBox9Click() {
    guard()(code::SettingsQuietHours, [&] {
        sounds_.quietHoursClick();
        changed();
    }, [&] { return errors::Dump().add("TimeOfLow", record().TimeOfLow); });
}

void SettingsWindow::ComboBox2Change() {
    choose(code::SettingsQuietFrom, &settings::Settings::TimeOfLowF, "TimeOfLowF", ComboBox2_);
}

void SettingsWindow::ComboBox3Change() {
    choose(code::SettingsQuietTo, &settings::Settings::TimeOfLowS, "TimeOfLowS", ComboBox3_);
}

// ---- the reminders page -------------------------------------------------------------------------

const std::string* SettingsWindow::selectedLine() const {
    const int i = CheckListBox1_.itemIndex();
    if (i < 0 || i >= int(CheckListBox1_.items().size())) return nullptr;
    return &CheckListBox1_.items()[std::size_t(i)].text;
}

void SettingsWindow::Button4Click() {
    guard()(code::SettingsRemindAdd, [&] {
        reminders::OpenReminderEditor(d_.editor, reminders::kAddRemind, 0, form_.get(), &list_);
    });
}

// Without a selected line there is nothing to edit; the number chosen before
// would be someone else's reminder.
void SettingsWindow::editSelected() {
    const std::string* line = selectedLine();
    if (!line) return;
    d_.editor.store.FindRemind(*line);
    reminders::OpenReminderEditor(d_.editor, reminders::kEditRemind, d_.editor.edit.SelectedRemind, form_.get(),
                                  &list_);
}

void SettingsWindow::Button2Click() { guard()(code::SettingsRemindEdit, [&] { editSelected(); }); }

void SettingsWindow::Button3Click() {
    guard()(code::SettingsRemindDelete, [&] {
        const std::string* line = selectedLine();
        if (!line) return;
        d_.editor.store.FindRemind(*line);
        d_.editor.store.DeleteRemind();
        listReminds();
    });
}

void SettingsWindow::CheckListBox1ClickCheck() {
    guard()(code::SettingsRemindChecks, [&] { d_.editor.store.StoreRemindChecks(CheckListBox1_); });
}

void SettingsWindow::CheckListBox1MouseUp(const ui::MouseEvent& e) {
    guard()(code::SettingsListMouseUp, [&] { ListMouseY = e.y; });
}

// Only on a line: not on the empty part of the list below the last one.
void SettingsWindow::CheckListBox1DblClick() {
    guard()(code::SettingsRemindDblClick, [&] {
        const int lines = int(CheckListBox1_.items().size());
        if (ListMouseY > 2 && ListMouseY < lines * CheckListBox1_.itemHeight + 2) editSelected();
    });
}

}  // namespace settingsui

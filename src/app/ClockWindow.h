#pragma once
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include "core/ClockFace.h"
#include "core/SystemEvents.h"
#include "errors/Codes.h"
#include "platform/Types.h"
#include "settings/SettingsStore.h"
#include "ui/Form.h"

namespace app {

class App;

// TFormClock: the clock face, its tick, popup menu and notification-area icon.
// The subsystems see it only as a core::ClockFace.
class ClockWindow final : public core::ClockFace, public core::SystemEvents {
public:
    explicit ClockWindow(App& app);
    ~ClockWindow() override;

    ui::Form& form() { return *form_; }
    ui::Label& TimeMain() { return TimeMain_; }
    ui::Label& TimeShadow() { return TimeShadow_; }
    ui::Label& TimeSize() { return TimeSize_; }
    ui::PopupMenu& MainPoM() { return MainPoM_; }
    ui::Timer& Timer1() { return Timer1_; }
    ui::Timer& Timer2() { return Timer2_; }
    ui::Timer& TimerMySnd() { return TimerMySnd_; }

    ui::TrayIconData TrayIconData;

    // Face state.
    bool RegionDirty = false;
    int RegionHeight = 0;
    bool move = false;
    int XO = 0, YO = 0;
    int alphaUSet = 0;
    std::string TimeText;

    // Shared procedures.
    void BringToFront();
    void ApplyClockFont();
    void RgnByMask(ui::Color mask);
    void ReAddTrayIcon();
    void Restore();  // N8, the icon's double click, a second copy's message
    // Brings a clock standing off every monitor onto the nearest one, leaving
    // the stored position alone; `fromStored` tries the stored place first.
    void KeepOnScreen(bool fromStored);

    // core::ClockFace
    void apply(const settings::Settings&) override;
    int opacity() override { return form_->alphaBlendValue(); }
    void setOpacity(int alpha) override { form_->setAlphaBlendValue(alpha); }
    void showLoaded() override;
    void restore() override { Restore(); }
    void showReminderSound(bool playing) override;
    void markSoundOff(bool off) override { SoundDiss_.checked = off; }
    void later(std::function<void()> work) override;
    bool markShown(core::Mark m) override { return mark(m).visible(); }
    void showMark(core::Mark m, bool shown) override { mark(m).setVisible(shown); }
    void alignMarks() override;
    int markTop() override { return ImageGreen_.bounds().top; }
    int timeHeight() override { return TimeMain_.bounds().height; }
    std::string markHint(core::Mark m) override { return mark(m).hint(); }
    void setMarkHint(core::Mark m, const std::string& h) override { mark(m).setHint(h); }
    void stopMainTick() override { Timer1_.setEnabled(false); }
    void saveSettings() override { store(settings::StoreMode::All); }
    void balloon(const std::string& title, const std::string& text) override;
    int messageBox(const std::string& text, const std::string& caption, unsigned flags) override;

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormPaint();
    void FormCloseQuery(bool& canClose);
    void FormClose();
    bool FormMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
    void Timer1Timer();
    void TimeMouseDown(const ui::MouseEvent&);
    void TimeMouseMove(const ui::MouseEvent&);
    void TimeMouseUp(const ui::MouseEvent&);
    void MainPoMPopup();
    void TrayMessage(unsigned mouseMessage);
    // The Windows session ending: the program agrees at once, whatever is
    // open or running; when it really ends, it goes without a word.
    bool QueryEndSession();
    void EndSession(bool ending);

    // core::SystemEvents: the clock's own share, after the subsystems'.
    void onDisplayChanged() override { KeepOnScreen(true); }
    void onSessionEnding() override;

    // The menu's items and the clock on screen or not, as the state calls for
    // them; run after every change of that state.
    void showState();

    // The settings window, shown modally; `preload` is a backup file read into it first.
    void OpenSettings(const std::filesystem::path* preload);

private:
    ui::Image& mark(core::Mark m);
    void bind(ui::MenuItem& item, const errors::Code& code, void (ClockWindow::*handler)());
    // The clock's own stores take the position the window has now.
    void store(settings::StoreMode);
    void displayStep(const std::string& previous, const platform::LocalTime& now);
    void N8Click();
    void HidePOMClick();
    void OnTopPOMClick();
    void SoundDissClick();
    void N4Click();
    void NillFirstClick();
    void ViewSecondsAClick();
    void PMAM24Click();
    void QuickExitClick();
    void ImageYellowClick();
    void N2Click();
    void SetTimeClick();
    void HelpSecClick();
    void AboutProClick();
    void ErrClick();
    void ExitPOMClick();

    App& app_;
    std::unique_ptr<ui::Form> form_;
    // Everything the logic touches, found once: a renamed control fails at construction.
    ui::Label &TimeMain_, &TimeShadow_, &TimeSize_;
    ui::Image &ImageGreen_, &ImageYellow_, &ImageOrange_, &ImageRed_;
    ui::PopupMenu& MainPoM_;
    ui::MenuItem &N6_, &N8_, &HidePOM_, &OnTopPOM_, &SoundDiss_, &N4_, &NillFirst_, &ViewSecondsA_, &PMAM24_,
        &QuickExit_, &N2_, &SetTime_, &HelpSec_, &AboutPro_, &Err_, &ExitPOM_;
    ui::Timer &Timer1_, &Timer2_, &TimerMySnd_, &TimerSndPause_;
    bool displaced_ = false;      // moved onto a monitor by KeepOnScreen, and not by the user since
    bool placeAfterText_ = false; // the size is known only once the tick has put the time in
    std::string hintDay_;  // the day the hint was made for
    std::deque<std::function<void()>> later_;  // work waiting for kMsgLater, one message each
    bool soundPlaying_ = false;  // a reminder sound plays: N6 offers to stop it
    std::string separator_;
    int separatorMinute_ = -1;
};

}  // namespace app

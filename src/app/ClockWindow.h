#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include "platform/Types.h"
#include "ui/Form.h"

namespace app {

class App;

// TFormClock: the clock face, its tick, popup menu and notification-area icon.
class ClockWindow {
public:
    explicit ClockWindow(App& app);
    ~ClockWindow();

    ui::Form& form() { return *form_; }
    ui::Label& TimeMain() { return *timeMain_; }
    ui::Label& TimeShadow() { return *timeShadow_; }
    ui::Label& TimeSize() { return *timeSize_; }
    ui::PopupMenu& MainPoM() { return *form_->popupMenu; }
    ui::Timer& Timer1() { return form_->timer("Timer1"); }
    ui::Timer& Timer2() { return form_->timer("Timer2"); }
    ui::Timer& TimerMySnd() { return form_->timer("TimerMySnd"); }

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

private:
    void bindMenu(const char* item, const char* code, void (ClockWindow::*handler)());
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
    void N2Click();
    void SetTimeClick();
    void HelpSecClick();
    void AboutProClick();
    void ErrClick();
    void ExitPOMClick();

    App& app_;
    std::unique_ptr<ui::Form> form_;
    ui::Label* timeMain_;
    ui::Label* timeShadow_;
    ui::Label* timeSize_;
    std::string hintDay_;  // the day the hint was made for
    std::string separator_;
    int separatorMinute_ = -1;
};

// Answers whether the system allows hibernation (false without asking on 9x).
bool HibernationAllowed(App& app);

}  // namespace app

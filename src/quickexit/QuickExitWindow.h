#pragma once
#include <memory>
#include "core/Session.h"
#include "quickexit/Engine.h"
#include "quickexit/TimeSetFrame.h"
#include "ui/Form.h"

namespace quickexit {

// TFormQuickShutDown: sets up, starts, stops, pauses and resumes a quick
// exit. The quick exit lives in the engine: closing the window changes nothing.
class QuickExitWindow final : public Panel {
public:
    explicit QuickExitWindow(Engine& engine);
    ~QuickExitWindow() override;
    void showModal();
    ui::Form& form() { return *form_; }

    // Panel
    int timeModeShown() override { return ComboBox2_.itemIndex(); }
    void showTime(int hours, int minutes) override;
    void showRunning() override;
    void showPaused(bool paused) override;
    void showIdle() override;
    void close() override;
    void bringToFront() override;

private:
    void FormCreate();
    void FormPaint();
    void FormClose();
    void FormDestroy();
    void Button1Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void ComboBox2Change();
    void FrameTimeSet1EditHChange();
    void ComboBoxKeyPress(ui::Control& from);
    // Selects the stored index, or the first item when the list lacks it.
    void select(ui::ComboBox& list, int index);
    Choices choices(int hours, int minutes) const;
    errors::Dump scheduleDump(errors::Dump) const;

    Engine& engine_;
    QuickExitState& q_;
    core::ModalCount modal_;
    std::unique_ptr<ui::Form> form_;
    ui::ComboBox& ComboBox2_;
    ui::ComboBox& ComboBox1_;
    ui::CheckBox& CheckBoxWW_;
    ui::Button &Button1_, &Button2_, &Button3_, &Button4_, &Button5_, &BitBtn1_;
    TimeSetFrame FrameTimeSet1_;
    int LoadingQSDW = 0;
    int UserLoadE = 0;         // never set; the dumps show it
    bool ownChange_ = false;   // the window, not the user, is changing a choice
};

}  // namespace quickexit

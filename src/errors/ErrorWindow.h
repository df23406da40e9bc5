#pragma once
#include <memory>
#include <string>
#include "core/Paths.h"
#include "core/Session.h"
#include "errors/State.h"
#include "platform/Audio.h"
#include "platform/Mail.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "ui/Form.h"
#include "ui/Ui.h"

namespace errors {

class Guard;

// TFormError: tells the user the code of a failure and offers to ignore it,
// close or restart the program, or mail the log; the program goes on when it closes.
class ErrorWindow {
public:
    struct Ports {
        ui::Ui& ui;
        platform::Audio& audio;
        platform::Shell& shell;
        platform::Mail& mail;
        platform::System& system;
    };
    ErrorWindow(Ports ports, Guard& guard, ErrorState& state, core::Session& session, const core::Paths& paths);
    ~ErrorWindow();
    // Shows the window modally with the given code line. True once it has
    // closed; false when it never got that far (its close did not run).
    bool open(const std::string& codeLine);
    ui::Form& form() { return *form_; }

private:
    void FormCreate();
    void FormClose();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void BitBtn1Click();
    void enableCommands(bool on);
    bool mailLog();
    void handOverLog();
    Ports ports_;
    Guard& guard_;
    ErrorState& state_;
    core::Session& session_;
    const core::Paths& paths_;
    core::ModalCount modal_;
    std::unique_ptr<ui::Form> form_;
    ui::Label& Label2_;
    ui::Button& Button1_;
    ui::Button& Button2_;
    ui::Button& Button3_;
    ui::Button& Button4_;
    ui::Button& BitBtn1_;
    bool shown_ = false, closed_ = false, reported_ = false;
};

}  // namespace errors

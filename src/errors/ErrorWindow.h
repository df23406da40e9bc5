#pragma once
#include <memory>
#include <string>
#include "core/Session.h"
#include "errors/State.h"
#include "platform/Audio.h"
#include "ui/Form.h"
#include "ui/Ui.h"

namespace errors {

class Guard;

// TFormError: tells the user the code of a failure; the program goes on when it closes.
class ErrorWindow {
public:
    struct Ports {
        ui::Ui& ui;
        platform::Audio& audio;
    };
    ErrorWindow(Ports ports, Guard& guard, ErrorState& state, core::Session& session);
    ~ErrorWindow();
    // Shows the window modally with the given code line. True once it has
    // closed; false when it never got that far (its close did not run).
    bool open(const std::string& codeLine);
    ui::Form& form() { return *form_; }

private:
    void FormCreate();
    void FormClose();
    void Button3Click();
    Ports ports_;
    Guard& guard_;
    ErrorState& state_;
    core::Session& session_;
    std::unique_ptr<ui::Form> form_;
    ui::Label& Label2_;
    ui::Button& Button3_;
    bool closed_ = false;
};

}  // namespace errors

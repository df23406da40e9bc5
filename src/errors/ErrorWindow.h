#pragma once
#include <memory>
#include <string>
#include "ui/Form.h"

namespace app { class App; }

namespace errors {

// TFormError: tells the user the code of a failure; the program goes on when it closes.
class ErrorWindow {
public:
    explicit ErrorWindow(app::App& app);
    ~ErrorWindow();
    // Shows the window modally with the given code line; returns when it closed.
    void open(const std::string& codeLine);
    ui::Form& form() { return *form_; }

private:
    void FormCreate();
    void FormClose();
    void Button3Click();
    app::App& app_;
    std::unique_ptr<ui::Form> form_;
};

}  // namespace errors

#pragma once
#include <memory>
#include "core/Session.h"
#include "ui/Form.h"

namespace quickexit {

class Engine;

// TFormQSDWarDlg: what will happen in how many minutes, during the last five.
class WarningDialog {
public:
    explicit WarningDialog(Engine& engine);
    ~WarningDialog();
    // Shows it modally; true when the user asked to change the settings (SSDN).
    bool showModal();
    void close();
    void UpdateWarningText();
    ui::Form& form() { return *form_; }

private:
    void FormCreate();
    void FormClose();
    Engine& engine_;
    core::ModalCount modal_;
    std::unique_ptr<ui::Form> form_;
    ui::Panel& Panel1_;
    int SSDN = 0;
};

}  // namespace quickexit

#pragma once
#include <memory>
#include <string>
#include <vector>
#include "core/Paths.h"
#include "errors/Guard.h"
#include "platform/Shell.h"
#include "reminders/EditorState.h"
#include "reminders/State.h"
#include "ui/Form.h"
#include "ui/Ui.h"

namespace reminders {

// The message-box flag of each icon choice, as the scheduler shows it.
unsigned MessageIconFlag(int icon);
// The memo's lines as the stored text (each line ends with CR LF), and back.
std::string MessageText(const std::vector<std::string>& lines);
std::vector<std::string> MessageLines(const std::string& text);
// The help page of both editors.
void OpenEditorHelp(platform::Shell&, const core::Paths&, platform::WindowId owner);

// TFormAddMsg: the caption, text and icon of the box a reminder shows. It
// works on the shared message only; the reminder editor stores it.
class MessageEditor {
public:
    struct Ports {
        ui::Ui& ui;
        platform::Shell& shell;
    };
    MessageEditor(Ports ports, const core::Paths& paths, RemindEdit& edit, EditorState& state, errors::Guard& guard);
    // Returns once the window has closed.
    void showModal();
    ui::Form& form() { return *form_; }

private:
    void FormCreate();
    void FormClose();
    void Button1Click();

    Ports ports_;
    const core::Paths& paths_;
    RemindEdit& edit_;
    EditorState& state_;
    errors::Guard& guard_;
    std::unique_ptr<ui::Form> form_;
    ui::Edit& LabeledEdit1_;
    ui::Memo& Memo1_;
    ui::ComboBox& CBIcon_;
};

}  // namespace reminders

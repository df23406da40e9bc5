#include "reminders/MessageEditor.h"
#include "forms/Forms.h"
#include "platform/Path.h"

namespace reminders {

namespace code = errors::code;

unsigned MessageIconFlag(int icon) {
    static constexpr unsigned kFlags[] = {ui::kMbOk, ui::kMbIconInformation, ui::kMbIconExclamation,
                                          ui::kMbIconQuestion, ui::kMbIconHand};
    return icon >= 0 && icon < int(std::size(kFlags)) ? kFlags[icon] : ui::kMbOk;
}

std::string MessageText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

std::vector<std::string> MessageLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        from = end + 1;
    }
    return lines;
}

void OpenEditorHelp(platform::Shell& shell, const core::Paths& paths, platform::WindowId owner) {
    shell.open(platform::u8string(paths.program / "Help" / "indexEditRem.htm"), "", "", platform::kSwNormal, owner);
}

MessageEditor::MessageEditor(Ports ports, const core::Paths& paths, RemindEdit& edit, EditorState& state,
                             errors::Guard& guard)
    : ports_(ports), paths_(paths), edit_(edit), state_(state), guard_(guard),
      form_(forms::build(forms::addMsgForm(), ports.ui)), LabeledEdit1_(form_->get<ui::Edit>("LabeledEdit1")),
      Memo1_(form_->get<ui::Memo>("Memo1")), CBIcon_(form_->get<ui::ComboBox>("CBIcon")) {
    CBIcon_.setItemIndex(0);
    form_->onCreate = [this] { FormCreate(); };
    form_->onClose = [this] { FormClose(); };
    form_->get<ui::Button>("Button1").onClick = [this] { Button1Click(); };
    form_->get<ui::Button>("Button2").onClick = [this] {
        guard_(code::AddMsgOk, [this] {
            state_.RemindMsgAccepted = 1;
            form_->close();
        });
    };
    form_->get<ui::Button>("Button3").onClick = [this] {
        guard_(code::AddMsgCancel, [this] {
            state_.RemindMsgAccepted = 0;
            form_->close();
        });
    };
    form_->get<ui::Button>("BitBtn1").onClick = [this] {
        guard_(code::AddMsgHelp, [this] { OpenEditorHelp(ports_.shell, paths_, form_->handle()); });
    };
}

void MessageEditor::showModal() {
    ports_.ui.realize(*form_);
    ports_.ui.showModal(*form_);
}

void MessageEditor::FormCreate() {
    guard_(code::AddMsgCreate, [this] {
        state_.RemindMsgAccepted = 0;
        if (state_.RemindMsgSet != 1) return;
        LabeledEdit1_.setText(edit_.RemindMsgCaption);
        Memo1_.setLines(MessageLines(edit_.RemindMsgText));
        // A stored icon out of range shows, and is kept, as none.
        const int icon = edit_.RemindMsgIcon;
        CBIcon_.setItemIndex(icon >= 0 && icon < int(CBIcon_.items().size()) ? icon : 0);
    });
}

void MessageEditor::FormClose() {
    guard_(code::AddMsgClose, [this] {
        if (state_.RemindMsgAccepted != 1) return;
        state_.RemindMsgSet = 1;
        edit_.RemindMsgCaption = LabeledEdit1_.text();
        edit_.RemindMsgText = MessageText(Memo1_.lines());
        edit_.RemindMsgIcon = CBIcon_.itemIndex() < 0 ? 0 : CBIcon_.itemIndex();
    });
}

void MessageEditor::Button1Click() {
    guard_(code::AddMsgPreview, [this] {
        ports_.ui.messageBox(MessageText(Memo1_.lines()), LabeledEdit1_.text(),
                             ui::kMbOk | MessageIconFlag(CBIcon_.itemIndex()));
    });
}

}  // namespace reminders

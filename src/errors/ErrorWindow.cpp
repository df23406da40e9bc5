#include "errors/ErrorWindow.h"
#include <system_error>
#include "errors/Guard.h"
#include "forms/Forms.h"
#include "platform/Path.h"

namespace errors {

namespace fs = std::filesystem;

namespace {
constexpr const char* kReportWarning =
    "Не изменяйте содержимое вложенного файла. Если вы заметили какие-либо закономерности при появлении ошибки, "
    "пожалуйста, опишите их в письме. После закрытия окна отправки письма, окно с сообщением об ошибке будет "
    "показано снова.";
constexpr const char* kAttachByHand =
    "Почтовая программа не найдена: приложите файл Debug.Log из открытой папки к письму по адресу ";
constexpr unsigned kReportWarningFlags = ui::kMbIconExclamation | ui::kMbSystemModal;
}  // namespace

ErrorWindow::ErrorWindow(Ports ports, Guard& guard, ErrorState& state, core::Session& session,
                         const core::Paths& paths)
    : ports_(ports), guard_(guard), state_(state), session_(session), paths_(paths), modal_(session),
      form_(forms::build(forms::errorForm(), ports.ui)),
      Label2_(form_->get<ui::Label>("Label2")),
      Button1_(form_->get<ui::Button>("Button1")),
      Button2_(form_->get<ui::Button>("Button2")),
      Button3_(form_->get<ui::Button>("Button3")),
      Button4_(form_->get<ui::Button>("Button4")),
      BitBtn1_(form_->get<ui::Button>("BitBtn1")) {
    form_->onCreate = [this] { FormCreate(); };
    form_->onShow = [this] { shown_ = true; };
    form_->onClose = [this] { FormClose(); };
    // Ending the message loop (close, restart hand-over) frees the window
    // without a close; it must still count as closed.
    form_->onDestroy = [this] {
        if (shown_ && !closed_) FormClose();
    };
    Button1_.onClick = [this] { Button1Click(); };
    Button2_.onClick = [this] { Button2Click(); };
    Button3_.onClick = [this] { Button3Click(); };
    Button4_.onClick = [this] { Button4Click(); };
    BitBtn1_.onClick = [this] { BitBtn1Click(); };
}

ErrorWindow::~ErrorWindow() = default;

bool ErrorWindow::open(const std::string& codeLine) {
    ports_.ui.realize(*form_);
    Label2_.setCaption(codeLine);
    ports_.audio.messageBeep(platform::kBeepHand);
    ports_.ui.showModal(*form_);
    return closed_;
}

void ErrorWindow::FormCreate() {
    guard_(code::ErrorCreate, [&] { state_.ErrorWindowOpen = true; });
}

void ErrorWindow::FormClose() {
    if (closed_) return;  // a loop's end may free the window after its close ran
    closed_ = true;
    guard_(code::ErrorClose, [&] {
        state_.ErrorWindowOpen = false;
        modal_.release();
    });
}

void ErrorWindow::enableCommands(bool on) {
    for (ui::Button* b : {&Button1_, &Button2_, &Button3_, &BitBtn1_}) b->setEnabled(on);
    Button4_.setEnabled(on && !reported_);
}

void ErrorWindow::Button3Click() {
    guard_(code::ErrorIgnore, [&] {
        enableCommands(false);
        form_->close();
    });
}

// The loop's end takes the program through its normal end step, settings stored.
void ErrorWindow::Button2Click() {
    guard_(code::ErrorCloseProgram, [&] {
        enableCommands(false);
        ports_.ui.terminate();
        form_->close();
    });
}

void ErrorWindow::Button1Click() {
    guard_(code::ErrorRestart, [&] {
        enableCommands(false);
        form_->hide();
        const ClockLink& clock = guard_.clock;
        const std::string before = clock.caption ? clock.caption() : std::string();
        guard_.step(1);
        if (clock.setCaption) clock.setCaption("LumivoError");
        guard_.step(2);
        // Our own file, wherever it lies: the shell's search for a bare name
        // may find another copy or none.
        const fs::path program = ports_.system.programFile();
        const platform::WindowId owner = clock.window ? clock.window() : 0;
        // Shown normally: a started program takes its first show command from us.
        if (!program.empty() && ports_.shell.open(platform::u8string(program), "", "", platform::kSwNormal, owner,
                                                  platform::u8string(program.parent_path())))
            return;  // hidden until the new copy hands over (message 0x401)
        guard_.step(3);
        // No new copy will ever end this one: back to the user.
        if (clock.setCaption) clock.setCaption(before);
        enableCommands(true);
        form_->show();
    });
}

// True when a mail program took the log; otherwise the user is shown the file to send by hand.
bool ErrorWindow::mailLog() {
    platform::MailMessage m;
    m.subject = "Отчет об ошибках";
    m.recipientAddress = forms::kSupportEmail;
    m.attachmentPath = platform::u8string(guard_.logFile());
    form_->hide();
    bool sent = false;
    try {
        sent = ports_.mail.send(m);
    } catch (...) {
    }
    form_->show();
    if (sent) return true;
    ports_.shell.open("explorer.exe", "", "/select,\"" + m.attachmentPath + "\"", platform::kSwShow,
                      form_->handle());
    ports_.ui.ownedMessageBox(*form_, std::string(kAttachByHand) + forms::kSupportEmail + ".",
                              "Предупреждение...", ui::kMbIconExclamation);
    return false;
}

// The next failure starts a new log; the sent one stays beside it until the next report.
void ErrorWindow::handOverLog() {
    std::error_code ec;
    const fs::path log = guard_.logFile(), sent = guard_.sentLogFile();
    if (!fs::exists(log, ec)) return;
    if (fs::exists(sent, ec)) fs::remove(sent, ec);
    fs::rename(log, sent);  // a failure here is the command's failure
}

void ErrorWindow::Button4Click() {
    guard_(code::ErrorReport, [&] {
        ports_.ui.messageBox(kReportWarning, "Предупреждение...", kReportWarningFlags);
        guard_.step(1);
        const bool sent = mailLog();
        guard_.step(2);
        if (sent) handOverLog();
        guard_.step(3);
        reported_ = true;
        Button4_.setEnabled(false);
    });
}

void ErrorWindow::BitBtn1Click() {
    guard_(code::ErrorHelp, [&] {
        ports_.shell.open(platform::u8string(paths_.program / "Help" / "indexErr.htm"), "", "", platform::kSwShow,
                          form_->handle());
    });
}

}  // namespace errors

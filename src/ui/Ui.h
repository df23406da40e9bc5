#pragma once
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include "ui/Form.h"
#include "ui/Placement.h"

namespace ui {

// Message-box flags the program uses.
enum MbFlags : unsigned {
    kMbOk = 0x0, kMbYesNo = 0x4, kMbIconHand = 0x10, kMbIconQuestion = 0x20, kMbIconExclamation = 0x30,
    kMbIconInformation = 0x40, kMbDefButton2 = 0x100, kMbSystemModal = 0x1000, kMbTopmost = 0x40000,
};
enum MbResult : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// The system's file dialogs. Both hide the read-only box and leave the
// working folder as it was.
struct FileDialog {
    std::string title;
    std::vector<std::pair<std::string, std::string>> filter;  // description, patterns
    std::string defaultExt;    // added to a name typed without an extension
    std::string initialDir;
    std::string initialName;
    platform::WindowId owner = 0;
    // The user confirms `path`: false keeps the dialog open.
    std::function<bool(const std::string& path)> canClose;
};
// Opening: the file and its folder must exist.
struct OpenFileDialog : FileDialog {};
// Saving: the name is taken as typed, neither checked nor tried out; an
// existing file is for canClose to ask about.
struct SaveFileDialog : FileDialog {};

// The system's font dialog, with the effects (colour, underline, strike-out).
struct FontDialog {
    Font font;
    int minSize = 36, maxSize = 400;  // points
    platform::WindowId owner = 0;
    // Its Apply button: the font the dialog shows now. The dialog stays open.
    std::function<void(const Font&)> onApply;
};

// The window system as the logic sees it.
class Ui {
public:
    virtual ~Ui() = default;
    // Creates the form's window (hidden), then runs its create handler.
    virtual void realize(Form&) = 0;
    // Shows the form modally; returns when it has closed and been destroyed.
    // Other windows' timers keep firing meanwhile.
    virtual void showModal(Form&) = 0;
    virtual int messageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // A message box owned by `owner`: it stays with that window, not with
    // whichever window happens to be active.
    virtual int ownedMessageBox(Form& owner, const std::string& text, const std::string& caption,
                                unsigned flags) = 0;
    virtual Bitmap loadPicture(const std::string& resourceName) = 0;
    // The confirmed file, or nothing when the user cancelled.
    virtual std::optional<std::string> openFile(const OpenFileDialog&) = 0;
    virtual std::optional<std::string> saveFile(const SaveFileDialog&) = 0;
    // The confirmed font, or nothing when the dialog was cancelled.
    virtual std::optional<Font> chooseFont(const FontDialog&) = 0;
    // Solid colours only, any of them; nothing when cancelled.
    virtual std::optional<Color> chooseColor(Color initial, platform::WindowId owner) = 0;

    // The application as a whole.
    virtual void setMainForm(Form&) = 0;    // closing it ends the message loop
    virtual int run() = 0;                  // the message loop; its exit code
    virtual void terminate() = 0;           // end the message loop
    virtual bool terminated() = 0;
    virtual void minimizeApp() = 0;         // every window of the program disappears
    virtual void restoreApp() = 0;
    virtual void hideAppTaskbarWindow() = 0;
    virtual void cursorPos(int& x, int& y) = 0;
    // The monitors now attached, in the forms' coordinates; empty when unknown.
    virtual std::vector<Monitor> monitors() { return {}; }
};

}  // namespace ui

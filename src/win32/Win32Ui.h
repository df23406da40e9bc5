#pragma once
// The window system: realizes ui::Form models as windows and runs the message loops.
#include <windows.h>
#include <array>
#include <list>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "ui/Ui.h"
#include "win32/Handles.h"
#include "win32/UiResources.h"

namespace win32 {

class FormWindow;

class Win32Ui final : public ui::Ui {
public:
    explicit Win32Ui(HINSTANCE instance);
    ~Win32Ui() override;
    Win32Ui(const Win32Ui&) = delete;
    Win32Ui& operator=(const Win32Ui&) = delete;

    int run() override;
    void setMainForm(ui::Form& form) override { main_ = &form; }

    void realize(ui::Form&) override;
    void showModal(ui::Form&) override;
    int messageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    int ownedMessageBox(ui::Form& owner, const std::string& text, const std::string& caption,
                        unsigned flags) override;
    ui::Bitmap loadPicture(const std::string& resourceName) override;
    std::optional<std::string> openFile(const ui::OpenFileDialog&) override;
    std::optional<std::string> saveFile(const ui::SaveFileDialog&) override;
    std::optional<ui::Font> chooseFont(const ui::FontDialog&) override;
    std::optional<ui::Color> chooseColor(ui::Color initial, platform::WindowId owner) override;
    void terminate() override;
    bool terminated() override { return terminated_; }
    void minimizeApp() override;
    void restoreApp() override;
    void hideAppTaskbarWindow() override;
    void cursorPos(int& x, int& y) override;
    std::vector<ui::Monitor> monitors() override;  // UiMonitors.cpp

    // For the form windows.
    HINSTANCE instance() const { return instance_; }
    HWND owner() const { return owner_.get(); }
    bool isMainForm(const ui::Form* f) const { return f && f == main_; }
    Resources& resources() { return resources_; }
    HICON smallIcon();
    // Applies every form's pending model changes.
    void flushAll();
    // A form has closed: give input back to the windows its modal loop disabled.
    void formClosed(const ui::Form&);
    // The window has let go of its form; it is freed once no call is inside it.
    void released(FormWindow*);
    // True while the dialog manager handles a key (its DM_ messages are then
    // not the program's own messages of the same numbers).
    bool inDialogKeys() const { return dialogKeys_ > 0; }
    FormWindow* windowOf(HWND) const;

private:
    struct Modal {
        const ui::Form* form;
        std::vector<HWND> disabled;
    };
    void process(MSG&);
    // A system dialog and its own message loop: the windows are brought up to
    // date first, and the dialog keys it handles are not those of the loop outside.
    template <class Call>
    auto systemDialog(Call&& call) {
        ReleaseCapture();
        flushAll();
        struct Keys {
            int& keys;
            int outer;
            ~Keys() { keys = outer; }
        } keys{dialogKeys_, std::exchange(dialogKeys_, 0)};
        return call();
    }
    std::optional<std::string> fileDialog(const ui::FileDialog&, bool save);
    int showMessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned flags);
    void collect();
    void registerClass(const std::string& name);
    static void enableAgain(Modal&);

    HINSTANCE instance_;
    Resources resources_;
    UniqueWindow owner_;
    std::vector<std::unique_ptr<FormWindow>> windows_;
    std::vector<std::unique_ptr<FormWindow>> released_;
    std::set<std::wstring> classes_;
    std::list<Modal> modals_;
    std::vector<HWND> minimized_;
    UniqueIcon smallIcon_;
    bool smallIconLoaded_ = false;
    ui::Form* main_ = nullptr;
    bool terminated_ = false;
    int dialogKeys_ = 0;
    // The colour dialog's custom colours, kept for the run as the user left them.
    std::array<COLORREF, 16> customColours_;
};

}  // namespace win32

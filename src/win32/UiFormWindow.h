#pragma once
// One realized form: its window, child controls, painting and input. Its methods
// are defined in UiFormWindow.cpp and, by job, in the other Ui*.cpp files.
#include <windows.h>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>
#include "ui/Form.h"
#include "win32/Handles.h"
#include "win32/TrayIcon.h"
#include "win32/UiPaint.h"

namespace win32 {

class Win32Ui;

class FormWindow final : public ui::FormPeer {
public:
    FormWindow(Win32Ui& ui, ui::Form& form);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Makes the window and its controls; the model's labels are measured already.
    void create();
    // Runs the model's create handler with this window busy.
    void runCreate();

    HWND hwnd() const { return hwnd_; }
    ui::Form* form() const { return form_; }
    bool busy() const { return busy_ > 0; }
    bool hasChildWindows() const { return !children_.empty(); }
    // Brings the window in line with the model: geometry, caption, styles,
    // hints, and invalidates the windowless controls that look different now.
    void flush();
    // A key aimed at one of the child controls, for forms that see keys first;
    // false where the form does not see keys.
    bool previewKey(int virtualKey);
    // Lets go of the model (it is going away before the window).
    void abandon();
    // A mouse message for this window or one of its controls, for the hints (UiTips.cpp).
    void relayMouse(const MSG&);

    // ui::FormPeer
    void formChanged(ui::Prop) override;
    void controlChanged(ui::Control&, ui::Prop) override;
    void timerChanged(ui::Timer&) override;
    void show() override;
    // Shows the hidden window, with or without activation as the form asks.
    void reveal();
    void hide() override;
    void closed() override;
    void destroy() override;
    ui::Size measureText(const ui::Font&, const std::string&) override;
    ui::Bitmap captureClient() override;
    void setRegion(const std::vector<ui::Rect>* rects) override;
    bool tray(bool add, const ui::TrayIconData&) override;
    platform::WindowId handle() override { return platform::WindowId(hwnd_); }
    void popup(ui::PopupMenu&, int x, int y) override;
    void focus(ui::Control&) override;
    bool balloon(const ui::TrayIconData&, const std::string& title, const std::string& text) override;
    void post(unsigned msg) override;
    void bringToFront() override;

    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    // The resolution the window is drawn at; the model's units are 96-dpi ones.
    int dpi() const { return dpi_; }

private:
    // A windowed child control; the form's window owns (and destroys) it.
    struct Child {
        ui::Control* control = nullptr;
        HWND hwnd = nullptr;
        int id = 0;
        RECT rect{};           // as applied
        bool visible = false, enabled = true;
        int tabRow = 0;        // page controls: height of the row of tabs
        std::vector<ui::Rect> holes;  // where later siblings lie on it, cut out of its window
    };
    // How a windowless control looked when its area was last invalidated.
    struct Look {
        bool shown = false;
        ui::Rect rect;
        std::string caption;
        ui::Font font;
        ui::Color color = 0;
        bool enabled = true;
        unsigned options = 0;     // transparency, wrapping, scaling, bevel
        unsigned picture = 0;     // bumped at each new picture
        int tabRow = 0;
        bool operator==(const Look&) const = default;
    };
    struct Tool {
        UINT_PTR id = 0;
        bool isWindow = false;
        RECT rect{};
        std::string text;
        bool operator==(const Tool& o) const {
            return id == o.id && isWindow == o.isWindow && EqualRect(&rect, &o.rect) && text == o.text;
        }
    };
    struct Capture {
        bool active = false;
        ui::Control* control = nullptr;   // nullptr: the form itself
        ui::MouseButton button = ui::MouseButton::Left;
        bool clickable = false;
    };
    // An image's picture as last drawn at another size than its own.
    struct ScaledPicture {
        unsigned picture = 0;
        ui::Size size;
        ui::Bitmap bitmap;
    };
    // What has been applied to the window, to change only what differs.
    struct Applied {
        ui::Rect bounds;          // in the model's units
        std::string caption;
        ui::Color color = 0;
        bool crisp = false;
        bool layeredValid = false;
        COLORREF key = 0;
        BYTE alpha = 255;
        DWORD layeredFlags = 0;
    };

    // The window procedure, and what it hands a message on to.
    LRESULT handle(HWND, UINT msg, WPARAM wParam, LPARAM lParam);
    void timerFired(WPARAM id);
    void closeRequested();
    void placeChanged(const WINDOWPOS&);
    void windowGone(HWND);
    std::optional<LRESULT> otherMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT endSessionQuery(WPARAM, LPARAM);
    void endSession(WPARAM, LPARAM);
    void tellModel(UINT msg, WPARAM, LPARAM);
    // The form's layer kept against others (UiLayer.cpp).
    void watchLayer();
    void unwatchLayer();
    void layerChanging(WINDOWPOS&);
    void layerChanged(const WINDOWPOS&);
    void layerActivated();
    void layerDeactivated();
    void restoreLayer();
    void keepLayer(HWND foreground);
    // Outside the program's own messages and the registered ones: the model never sees it.
    static constexpr UINT kMsgKeepLayer = WM_APP + 0x101;
    static void CALLBACK foregroundChanged(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD);
    // Runs a model call, then brings every window in line with the model.
    void dispatch(const std::function<void()>& call);
    // A call of the system's or the model's under way: the window is not
    // destroyed under it.
    struct Busy {
        FormWindow& w;
        explicit Busy(FormWindow& window) : w(window) { ++w.busy_; }
        ~Busy() { w.leave(); }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
    };
    void leave();
    void destroyWindowNow();

    // Form state.
    bool crisp() const;
    void applyForm();
    void setTopmost(bool on);
    void applyLooks();
    Look lookOf(const ui::Control&);
    void syncFromWindow();
    void paint();
    void render(HDC target, const RECT& area);
    RenderOptions renderOptions();
    void killTimers();
    // The notification area (UiTray.cpp).
    void removeTrayIcons();
    // The hints (UiTips.cpp).
    void applyTools();

    // Resolution (UiDpi.cpp): model units to the window's pixels and back.
    int px(int length) const;
    RECT px(const ui::Rect&) const;
    POINT modelPoint(LPARAM) const;
    RECT outerRect(int width, int height, DWORD style, DWORD exStyle) const;
    ui::Rect modelRect(const RECT& window, const RECT& client) const;
    const ui::Bitmap& scaledPicture(const ui::Image&, ui::Size);
    // Corrects the window's size where its frame came out other than computed.
    void fitClient(int width, int height);
    // The window moved to a monitor of another resolution, or was made on one.
    void dpiChanged(int dpi, const RECT* suggested);

    // Model queries (UiInput.cpp).
    bool shown(const ui::Control&) const;
    bool usable(const ui::Control&) const;
    ui::Control* hitTest(POINT) const;

    // Input (UiInput.cpp). Those that return bool: false leaves the message to the default handling.
    void mouseDown(ui::MouseButton, POINT, bool doubleClick);
    void mouseMove(POINT);
    void mouseUp(ui::MouseButton, POINT);
    using MouseSlot = std::function<void(const ui::MouseEvent&)>;
    void deliverMouse(ui::Control*, MouseSlot ui::Control::*, MouseSlot ui::Form::*, ui::MouseButton, POINT);
    void captureChanged(HWND self, HWND to);
    bool setCursor(HWND over);
    bool contextMenu(LPARAM at);
    bool activated(HWND self, WPARAM);
    void command(WPARAM, LPARAM);
    LRESULT notify(const NMHDR&);
    bool scrolled(HWND from);
    bool clickButton(bool cancel);
    LRESULT defaultButtonId();
    HWND firstFocus() const;

    // Child controls (UiChildren.cpp).
    void createChildren();
    void createChild(ui::Control&);
    void fillChild(Child&);
    void updateChild(Child&, ui::Prop);
    void layoutChildren();
    void cutAroundSiblings();
    RECT childRect(const Child&) const;
    Child* childOf(const ui::Control&);
    Child* childById(int id);
    Child* childByHwnd(HWND);
    void childCommand(Child&, int code);
    LRESULT childColours(HWND child, HDC dc);
    void measureItem(MEASUREITEMSTRUCT&);
    void drawItem(const DRAWITEMSTRUCT&);
    void toggleListItem(int id, int index);
    void listMouse(int id, bool doubleClick, LPARAM at);
    int listItemHeight(const ui::CheckListBox&);
    static LRESULT CALLBACK listProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT listMessage(HWND, UINT, WPARAM, LPARAM, UINT_PTR id, FormWindow*);
    // Typed characters of edits, combo boxes and check boxes.
    ui::Control* keyHandlerOf(int id);
    bool keyPress(ui::Control&, int& key);
    static LRESULT CALLBACK keyProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT keyMessage(HWND, UINT, WPARAM, LPARAM, UINT_PTR id, FormWindow*);

    Win32Ui& ui_;
    ui::Form* form_;
    HWND hwnd_ = nullptr;
    bool created_ = false;
    int dpi_ = 96;
    bool dirty_ = true;
    bool flushing_ = false;
    bool pendingDestroy_ = false;
    int busy_ = 0;
    int handlerCalls_ = 0;    // dispatch() calls under way into the form's handlers
    int painting_ = 0;
    int updating_ = 0;        // echoes of the model's own changes are ignored
    Applied applied_;
    std::vector<Child> children_;
    std::map<const ui::Control*, Look> looks_;
    std::map<const ui::Control*, unsigned> pictures_;
    std::map<const ui::Control*, ScaledPicture> scaled_;
    std::vector<Tool> tools_;
    UniqueWindow tooltip_;
    bool hintsWanted_ = false;   // some control or the form has a hint to show
    bool pointedAt_ = false;     // the mouse has been over the window
    std::map<unsigned, TrayIcon> trayIcons_;   // those the shell holds
    Capture capture_;
    HWND lastFocus_ = nullptr;
    UniqueWinEventHook layerHook_;
    bool ownLayerMove_ = false;   // a raise of our own that the desktop layer lets through
    bool layerPosted_ = false;
    bool raised_ = false;         // in front on the user's word, until another window is activated
};

}  // namespace win32

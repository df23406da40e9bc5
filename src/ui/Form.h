#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "platform/Failure.h"
#include "platform/Types.h"
#include "ui/Control.h"
#include "ui/Menu.h"
#include "ui/Timer.h"

namespace ui {

enum class BorderStyle { None, Single, Dialog, ToolWindow };
enum class FormPosition { Designed, ScreenCenter };

// The notification-area icon record.
struct TrayIconData {
    unsigned id = 1;
    unsigned flags = 7;               // message + icon + tip
    unsigned callbackMessage = 0x402;
    std::string tip;
};

// Implemented by the window system; a form without a peer is a pure model.
class FormPeer {
public:
    virtual ~FormPeer() = default;
    virtual void formChanged(Prop) = 0;
    virtual void controlChanged(Control&, Prop) = 0;
    virtual void timerChanged(Timer&) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void closed() = 0;   // the model has run its close; hide, end modality
    virtual void destroy() = 0;
    virtual Size measureText(const Font&, const std::string&) = 0;
    virtual Bitmap captureClient() = 0;
    virtual void setRegion(const std::vector<Rect>* rects) = 0;  // nullptr: no region
    virtual bool tray(bool add, const TrayIconData&) = 0;
    virtual platform::WindowId handle() = 0;
    virtual void popup(PopupMenu&, int x, int y) = 0;  // at screen point; returns when closed
    virtual void focus(Control&) = 0;
    // A balloon over the notification-area icon the form has added.
    virtual bool balloon(const TrayIconData&, const std::string& title, const std::string& text) = 0;
    // Queues `msg` for the form's onMessage, after the handler now running.
    virtual void post(unsigned msg) = 0;
    virtual void bringToFront() = 0;
};

class Form {
public:
    Form(std::string className, std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& className() const { return className_; }
    const std::string& name() const { return name_; }

    // Window properties.
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string&);
    const Rect& bounds() const { return bounds_; }  // left/top on screen; width/height of the client area
    void setPosition(int left, int top);
    void setClientSize(int width, int height);
    Color color() const { return color_; }
    void setColor(Color c) { color_ = c; formChanged(Prop::Color); }
    const std::string& hint() const { return hint_; }
    void setHint(const std::string&);
    bool visible() const { return visible_; }
    // The show handler runs as the form comes on screen, before its first
    // paint. A hide and show inside one of the form's own handlers (its first
    // paint reloading settings, say) is no new showing and does not run it again.
    void show();
    void hide();
    // While set, the form is shown, and clicked, without taking the activation
    // (and the keyboard) from the window that has it, as the clock must while
    // the splash waits for a key.
    bool showWithoutActivation() const { return showWithoutActivation_; }
    void setShowWithoutActivation(bool);
    bool stayOnTop() const { return stayOnTop_; }
    void setStayOnTop(bool);
    bool alphaBlend() const { return alphaBlend_; }
    void setAlphaBlend(bool);
    int alphaBlendValue() const { return alpha_; }
    void setAlphaBlendValue(int);
    bool transparentColor() const { return transparentColor_; }
    Color transparentColorValue() const { return transparentColorValue_; }
    void setTransparentColor(bool on, Color c);
    bool doubleBuffered() const { return doubleBuffered_; }
    void setDoubleBuffered(bool v) { doubleBuffered_ = v; }

    BorderStyle border = BorderStyle::Single;
    FormPosition position = FormPosition::Designed;
    bool autoSize = false;
    bool keyPreview = false;
    bool showHint = false;
    bool handCursor = false;
    bool freeOnClose = true;   // destroyed as soon as it has closed
    // Keeps its layer against other programs and the shell: on top, it takes
    // its place back whenever another window took it; not on top, it lives on
    // the desktop, under every other window and over the shown desktop.
    bool keepLayer = false;
    PopupMenu* popupMenu = nullptr;

    // Contents.
    template <class T>
    T& add(std::unique_ptr<T> c, Control* parent = nullptr) {
        T& ref = *c;
        adopt(std::move(c), parent);
        return ref;
    }
    template <class T>
    T& get(const std::string& name) {
        if (auto* c = dynamic_cast<T*>(find(name))) return *c;
        throw platform::WindowError("no control " + name + " on " + name_);
    }
    Control* find(const std::string& name);
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    Timer& addTimer(std::string name, unsigned interval, bool enabled);
    Timer& timer(const std::string& name);
    const std::vector<std::unique_ptr<Timer>>& timers() const { return timers_; }
    PopupMenu& addMenu(std::string name);
    PopupMenu& menu(const std::string& name);
    const std::vector<std::unique_ptr<PopupMenu>>& menus() const { return menus_; }

    // Lifecycle. close() runs the close query; false when it refused.
    bool close();
    bool closed() const { return closed_; }
    void destroy();
    bool destroyed() const { return destroyed_; }

    std::function<void()> onCreate, onShow, onPaint, onClose, onDestroy;
    std::function<void(bool& canClose)> onCloseQuery;
    std::function<void(int key)> onKeyDown;
    std::function<void(const MouseEvent&)> onMouseDown, onMouseMove, onMouseUp;
    // Messages of the program's own (WM_USER and up, registered ones) and the
    // system's power and clock-change notices: true if handled.
    std::function<bool(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam)> onMessage;

    // Window-system services (neutral answers without a peer).
    platform::WindowId handle() { return peer_ ? peer_->handle() : 0; }
    Size measureText(const Font& f, const std::string& text);
    Bitmap captureClient();
    void setRegion(const std::vector<Rect>* rects) { if (peer_) peer_->setRegion(rects); }
    bool tray(bool add, const TrayIconData& d) { return peer_ ? peer_->tray(add, d) : true; }
    void popup(PopupMenu& m, int x, int y);
    bool balloon(const TrayIconData& d, const std::string& title, const std::string& text) {
        return peer_ ? peer_->balloon(d, title, text) : true;
    }
    // `msg` (the program's own range) reaches onMessage from the message
    // queue, once the handler now running has finished; false without a window.
    bool post(unsigned msg) {
        if (!peer_) return false;
        peer_->post(msg);
        return true;
    }
    // In front of the foreground window, as the user asked to see it: a form
    // that keeps to the desktop stays in front until the user turns to
    // another window.
    void bringToFront() { if (peer_) peer_->bringToFront(); }
    // Gives the keyboard focus to the control after `from` in tab order that
    // takes it (shown, enabled, not a label, image, panel or up-down), going
    // round among the children of `within` (the whole form when null).
    void selectNext(const Control& from, const Control* within = nullptr);

    // For the window-system layer.
    FormPeer* peer() const { return peer_; }
    void attachPeer(FormPeer* p) { peer_ = p; }
    void assignBoundsFromUser(const Rect& r) { bounds_ = r; }
    void notify(Control&, Prop);
    void notify(Timer&);
    void paint();
    // Brackets a call into the form's handlers from outside the model (see show()).
    void beginHandler() { ++handling_; }
    void endHandler();
    // An auto-sized form spans from its origin to the farthest control edge.
    void fitToContents();

private:
    void adopt(std::unique_ptr<Control> c, Control* parent);
    void formChanged(Prop p) { if (peer_) peer_->formChanged(p); }

    std::string className_, name_, caption_, hint_;
    Rect bounds_;
    Color color_ = kBtnFace;
    bool visible_ = false, stayOnTop_ = false, alphaBlend_ = false, transparentColor_ = false;
    bool doubleBuffered_ = false, closed_ = false, destroyed_ = false;
    bool hiddenInHandler_ = false, showWithoutActivation_ = false;
    int handling_ = 0;
    int alpha_ = 255;
    Color transparentColorValue_ = kBlack;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Timer>> timers_;
    std::vector<std::unique_ptr<PopupMenu>> menus_;
    FormPeer* peer_ = nullptr;
};

}  // namespace ui

#include "win32/Win32Ui.h"
#include <algorithm>
#include <iterator>
#include <utility>
#include "platform/Failure.h"
#include "win32/Text.h"
#include "win32/UiFormWindow.h"
#include "win32/UiPaint.h"

namespace win32 {

namespace {
constexpr const wchar_t* kOwnerClass = L"LumivoApp";
constexpr int kMainIcon = 1;
}  // namespace

Win32Ui::Win32Ui(HINSTANCE instance) : instance_(instance) {
    customColours_.fill(RGB(255, 255, 255));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kMainIcon));
    wc.lpszClassName = kOwnerClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw platform::WindowError("cannot register the application window class");
    // Owning every form, the hidden owner keeps them all off the taskbar.
    owner_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"Lumivo", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 instance_, nullptr));
    if (!owner_) throw platform::WindowError("cannot create the application window");
}

Win32Ui::~Win32Ui() {
    std::vector<std::unique_ptr<FormWindow>> windows = std::move(windows_);
    windows_.clear();
    windows.clear();
    released_.clear();
    owner_.reset();
    for (const std::wstring& name : classes_) UnregisterClassW(name.c_str(), instance_);
    UnregisterClassW(kOwnerClass, instance_);
}

// ---- loops -------------------------------------------------------------------------------------

int Win32Ui::run() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return int(msg.wParam);
        if (got < 0) return -1;
        process(msg);
        collect();
    }
}

void Win32Ui::process(MSG& msg) {
    if (msg.hwnd && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
        if (FormWindow* w = windowOf(GetAncestor(msg.hwnd, GA_ROOT))) w->relayMouse(msg);
    if (msg.hwnd && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
        const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        FormWindow* w = windowOf(root);
        if (w && w->form()) {
            if (msg.message == WM_KEYDOWN && msg.hwnd != root && w->form()->keyPreview) {
                w->previewKey(int(msg.wParam));
                if (!IsWindow(msg.hwnd) || !w->form()) return;
            }
            if (w->hasChildWindows()) {
                ++dialogKeys_;
                const BOOL done = IsDialogMessageW(root, &msg);
                --dialogKeys_;
                if (done) return;
            }
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32Ui::collect() {
    std::erase_if(released_, [](const std::unique_ptr<FormWindow>& w) { return !w->busy() && !w->hwnd(); });
}

void Win32Ui::showModal(ui::Form& form) {
    if (!form.peer()) realize(form);
    auto* window = dynamic_cast<FormWindow*>(form.peer());
    if (!window || form.closed()) {
        if (!form.destroyed()) form.destroy();
        return;
    }
    ReleaseCapture();
    flushAll();
    // The keys of an outer dialog manager's call are not this loop's.
    const int outerKeys = std::exchange(dialogKeys_, 0);
    Modal& modal = modals_.emplace_back(Modal{&form, {}});
    const auto record = std::prev(modals_.end());
    for (const auto& w : windows_) {
        const HWND h = w->hwnd();
        if (w.get() != window && h && IsWindowEnabled(h)) {
            EnableWindow(h, FALSE);
            modal.disabled.push_back(h);
        }
    }
    form.show();
    bool quit = false;
    WPARAM code = 0;
    while (!form.closed() && !form.destroyed()) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            code = msg.wParam;
            break;
        }
        process(msg);
        collect();
    }
    enableAgain(*record);
    modals_.erase(record);
    dialogKeys_ = outerKeys;
    if (quit) PostQuitMessage(int(code));  // for the loops further out
    if (!form.destroyed()) form.destroy();
}

void Win32Ui::formClosed(const ui::Form& form) {
    for (Modal& m : modals_)
        if (m.form == &form) enableAgain(m);
}

void Win32Ui::enableAgain(Modal& m) {
    for (HWND h : m.disabled)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    m.disabled.clear();
}

int Win32Ui::messageBox(const std::string& text, const std::string& caption, unsigned flags) {
    HWND owner = GetActiveWindow();
    if (!windowOf(owner)) owner = nullptr;
    return showMessageBox(owner, text, caption, flags);
}

int Win32Ui::ownedMessageBox(ui::Form& owner, const std::string& text, const std::string& caption,
                             unsigned flags) {
    HWND h = reinterpret_cast<HWND>(owner.handle());
    if (!IsWindow(h)) h = nullptr;
    return showMessageBox(h, text, caption, flags);
}

int Win32Ui::showMessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned flags) {
    return systemDialog([&] { return MessageBoxW(owner, widen(text).c_str(), widen(caption).c_str(), flags); });
}

void Win32Ui::terminate() {
    terminated_ = true;
    PostQuitMessage(0);
    EndMenu();  // an open popup menu would hold the loop until clicked away
}

// ---- forms ---------------------------------------------------------------------------------------

void Win32Ui::registerClass(const std::string& name) {
    std::wstring w = widen(name);
    if (classes_.count(w)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FormWindow::windowProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kMainIcon));
    wc.lpszClassName = w.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw platform::WindowError("cannot register the window class " + name);
    classes_.insert(std::move(w));
}

void Win32Ui::realize(ui::Form& form) {
    if (form.peer()) return;
    registerClass(form.className());
    windows_.push_back(std::make_unique<FormWindow>(*this, form));
    FormWindow* window = windows_.back().get();
    form.attachPeer(window);
    try {
        // The labels were sized by an estimate; now they have real fonts.
        for (const auto& c : form.controls())
            if (auto* label = dynamic_cast<ui::Label*>(c.get())) label->adjustSize();
        form.fitToContents();
        window->create();
    } catch (...) {
        window->abandon();
        std::erase_if(windows_, [window](const std::unique_ptr<FormWindow>& w) { return w.get() == window; });
        throw;
    }
    window->runCreate();
}

void Win32Ui::released(FormWindow* window) {
    auto it = std::find_if(windows_.begin(), windows_.end(), [window](const auto& w) { return w.get() == window; });
    if (it == windows_.end()) return;
    released_.push_back(std::move(*it));
    windows_.erase(it);
}

FormWindow* Win32Ui::windowOf(HWND h) const {
    if (!h) return nullptr;
    for (const auto& w : windows_)
        if (w->hwnd() == h) return w.get();
    return nullptr;
}

void Win32Ui::flushAll() {
    // By index: a flush may not add windows, but it must not trip over one that does.
    for (std::size_t i = 0; i < windows_.size(); ++i) windows_[i]->flush();
}

// ---- the application ---------------------------------------------------------------------------

void Win32Ui::minimizeApp() {
    for (const auto& w : windows_) {
        const HWND h = w->hwnd();
        if (h && IsWindowVisible(h)) {
            ShowWindow(h, SW_HIDE);
            if (std::find(minimized_.begin(), minimized_.end(), h) == minimized_.end()) minimized_.push_back(h);
        }
    }
}

void Win32Ui::restoreApp() {
    const std::vector<HWND> hidden = std::exchange(minimized_, {});
    for (HWND h : hidden) {
        FormWindow* w = windowOf(h);
        // A form the program hid meanwhile stays hidden.
        if (w && w->form() && w->form()->visible()) w->reveal();
    }
}

void Win32Ui::hideAppTaskbarWindow() {
    // Asked on every tick: the call is skipped when there is nothing to do.
    if (owner_ && IsWindowVisible(owner_.get())) ShowWindow(owner_.get(), SW_HIDE);
}

void Win32Ui::cursorPos(int& x, int& y) {
    POINT p{0, 0};
    GetCursorPos(&p);
    x = p.x;
    y = p.y;
}

ui::Bitmap Win32Ui::loadPicture(const std::string& resourceName) {
    const UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(instance_, widen(resourceName).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return bitmap ? readBitmap(bitmap.get()) : ui::Bitmap();
}

HICON Win32Ui::smallIcon() {
    if (!smallIconLoaded_) {
        smallIconLoaded_ = true;
        smallIcon_.reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kMainIcon), IMAGE_ICON,
                                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    }
    return smallIcon_.get();
}

}  // namespace win32

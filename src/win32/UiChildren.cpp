// The real child controls of a form window.
#include "win32/UiFormWindow.h"
#include <windowsx.h>
#include <commctrl.h>
#include <algorithm>
#include "ui/Dpi.h"
#include "win32/CommonControls.h"
#include "win32/Edge.h"
#include "win32/Text.h"
#include "win32/Win32Ui.h"

namespace win32 {

namespace {

// Above the dialog manager's IDOK/IDCANCEL and the menu commands.
constexpr int kFirstChildId = 1000;
// Room for a drop-down list below a combo box's edit field.
constexpr int kDropDownHeight = 200;

std::string windowText(HWND h) {
    const int n = GetWindowTextLengthW(h);
    if (n <= 0) return {};
    std::wstring w(std::size_t(n) + 1, L'\0');
    const int got = GetWindowTextW(h, w.data(), n + 1);
    w.resize(std::size_t(std::max(got, 0)));
    return narrow(w);
}

void setWindowText(HWND h, const std::string& text) {
    if (windowText(h) != text) SetWindowTextW(h, widen(text).c_str());
}

std::string memoText(const ui::Memo& m) {
    std::string text;
    for (std::size_t i = 0; i < m.lines().size(); ++i) {
        if (i) text += "\r\n";
        text += m.lines()[i];
    }
    return text;
}

// The edit control's text back as the lines it shows (its own soft breaks aside).
std::vector<std::string> memoLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", from);
        if (end == std::string::npos) break;
        lines.push_back(text.substr(from, end - from));
        from = end + 2;
    }
    if (from < text.size()) lines.push_back(text.substr(from));
    return lines;
}

struct Updating {
    int& depth;
    explicit Updating(int& d) : depth(d) { ++depth; }
    ~Updating() { --depth; }
};

int checkBoxSize(int itemHeight, int dpi) { return std::min(ui::dpi::toPixels(13, dpi), std::max(itemHeight - 2, 8)); }

}  // namespace

FormWindow::Child* FormWindow::childOf(const ui::Control& c) {
    for (Child& ch : children_)
        if (ch.control == &c) return &ch;
    return nullptr;
}

FormWindow::Child* FormWindow::childById(int id) {
    for (Child& ch : children_)
        if (ch.id == id) return &ch;
    return nullptr;
}

FormWindow::Child* FormWindow::childByHwnd(HWND h) {
    if (!h) return nullptr;
    for (Child& ch : children_)
        if (ch.hwnd == h) return &ch;
    return nullptr;
}

// Siblings in tab order, so that the dialog manager's Tab follows it.
void FormWindow::createChildren() {
    const auto& all = form_->controls();
    children_.reserve(all.size());  // children keep their addresses while being made
    std::function<void(const ui::Control*)> visit = [&](const ui::Control* parent) {
        std::vector<ui::Control*> kids;
        for (const auto& c : all)
            if (c->parent() == parent) kids.push_back(c.get());
        std::stable_sort(kids.begin(), kids.end(), [](const ui::Control* a, const ui::Control* b) { return a->tabOrder < b->tabOrder; });
        for (ui::Control* k : kids) {
            if (!k->isGraphic() && k->kind() != ui::ControlKind::TabSheet) createChild(*k);
            visit(k);
        }
    };
    visit(nullptr);
    layoutChildren();
}

void FormWindow::createChild(ui::Control& c) {
    using K = ui::ControlKind;
    // Also for the user32 controls: their themed versions come from the library.
    commonControls::load();
    const wchar_t* cls = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS, ex = 0;
    std::wstring text;
    switch (c.kind()) {
        case K::Button:
            cls = WC_BUTTONW;
            style |= WS_TABSTOP | (static_cast<ui::Button&>(c).isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            text = widen(c.caption());
            break;
        case K::CheckBox:
            cls = WC_BUTTONW;
            style |= WS_TABSTOP | BS_AUTOCHECKBOX | (static_cast<ui::CheckBox&>(c).pushLike ? BS_PUSHLIKE : 0) |
                     (static_cast<ui::CheckBox&>(c).wordWrap ? BS_MULTILINE | BS_TOP : 0);
            text = widen(c.caption());
            break;
        case K::ComboBox:
            cls = WC_COMBOBOXW;
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
            break;
        case K::Edit:
            cls = WC_EDITW;
            style |= WS_TABSTOP | ES_AUTOHSCROLL | (static_cast<ui::Edit&>(c).readOnly ? ES_READONLY : 0);
            ex = WS_EX_CLIENTEDGE;
            text = widen(c.caption());
            break;
        case K::Memo: {
            const auto& memo = static_cast<ui::Memo&>(c);
            cls = WC_EDITW;
            style |= WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | (memo.readOnly ? ES_READONLY : 0) |
                     (memo.scrollBar ? WS_VSCROLL : 0);
            ex = memo.borderless ? 0 : WS_EX_CLIENTEDGE;
            break;
        }
        case K::UpDown:
            cls = UPDOWN_CLASSW;
            // The model does the wrapping; the style makes the control offer
            // a step past its end at all.
            style |= UDS_ARROWKEYS | UDS_NOTHOUSANDS | (static_cast<ui::UpDown&>(c).wrap ? UDS_WRAP : 0);
            break;
        case K::TrackBar:
            cls = TRACKBAR_CLASSW;
            style |= WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS;
            break;
        case K::CheckListBox:
            cls = WC_LISTBOXW;
            style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
            ex = WS_EX_CLIENTEDGE;
            break;
        case K::PageControl:
            cls = WC_TABCONTROLW;
            style |= WS_TABSTOP | (static_cast<ui::PageControl&>(c).buttonTabs ? TCS_BUTTONS : 0);
            break;
        default: return;
    }
    Child ch;
    ch.control = &c;
    ch.id = kFirstChildId + int(children_.size());
    children_.push_back(ch);  // before creation: the list box asks for its item height meanwhile
    Child& added = children_.back();
    added.rect = childRect(added);
    const RECT& r = added.rect;
    added.hwnd = CreateWindowExW(ex, cls, text.c_str(), style, r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_,
                                 reinterpret_cast<HMENU>(INT_PTR(added.id)), ui_.instance(), nullptr);
    if (!added.hwnd) {
        children_.pop_back();
        return;
    }
    SendMessageW(added.hwnd, WM_SETFONT, WPARAM(ui_.resources().font(c.font(), false, dpi_)), FALSE);
    if (c.kind() == K::CheckListBox)
        commonControls::setWindowSubclass(added.hwnd, listProc, UINT_PTR(added.id), DWORD_PTR(this));
    if (c.kind() == K::Edit || c.kind() == K::ComboBox || c.kind() == K::CheckBox)
        commonControls::setWindowSubclass(added.hwnd, keyProc, UINT_PTR(added.id), DWORD_PTR(this));
    fillChild(added);
}

// Contents from the model: states, items, ranges, positions.
void FormWindow::fillChild(Child& ch) {
    using K = ui::ControlKind;
    const Updating updating(updating_);
    const HWND h = ch.hwnd;
    switch (ch.control->kind()) {
        case K::CheckBox:
            SendMessageW(h, BM_SETCHECK, static_cast<ui::CheckBox*>(ch.control)->checked() ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case K::ComboBox: {
            const auto& cb = *static_cast<ui::ComboBox*>(ch.control);
            SendMessageW(h, CB_RESETCONTENT, 0, 0);
            for (const std::string& item : cb.items()) SendMessageW(h, CB_ADDSTRING, 0, LPARAM(widen(item).c_str()));
            SendMessageW(h, CB_SETCURSEL, WPARAM(cb.itemIndex()), 0);
            break;
        }
        case K::Edit: {
            const auto& e = *static_cast<ui::Edit*>(ch.control);
            if (e.maxLength > 0) SendMessageW(h, EM_SETLIMITTEXT, WPARAM(e.maxLength), 0);
            setWindowText(h, e.text());
            break;
        }
        case K::Memo: setWindowText(h, memoText(*static_cast<ui::Memo*>(ch.control))); break;
        case K::UpDown: {
            const auto& ud = *static_cast<ui::UpDown*>(ch.control);
            SendMessageW(h, UDM_SETRANGE32, WPARAM(ud.min), LPARAM(ud.max));
            SendMessageW(h, UDM_SETPOS32, 0, LPARAM(ud.position()));
            break;
        }
        case K::TrackBar: {
            const auto& tb = *static_cast<ui::TrackBar*>(ch.control);
            SendMessageW(h, TBM_SETRANGEMIN, FALSE, LPARAM(tb.min));
            SendMessageW(h, TBM_SETRANGEMAX, FALSE, LPARAM(tb.max));
            SendMessageW(h, TBM_SETLINESIZE, 0, LPARAM(tb.lineSize));
            SendMessageW(h, TBM_SETPAGESIZE, 0, LPARAM(tb.pageSize));
            SendMessageW(h, TBM_SETTICFREQ, WPARAM(tb.frequency), 0);
            SendMessageW(h, TBM_SETPOS, TRUE, LPARAM(tb.position()));
            break;
        }
        case K::CheckListBox: {
            const auto& list = *static_cast<ui::CheckListBox*>(ch.control);
            SendMessageW(h, LB_RESETCONTENT, 0, 0);
            for (const auto& item : list.items()) SendMessageW(h, LB_ADDSTRING, 0, LPARAM(widen(item.text).c_str()));
            SendMessageW(h, LB_SETCURSEL, WPARAM(list.itemIndex()), 0);
            break;
        }
        case K::PageControl: {
            auto& pages = *static_cast<ui::PageControl*>(ch.control);
            SendMessageW(h, TCM_DELETEALLITEMS, 0, 0);
            int index = 0;
            for (const auto& c : form_->controls()) {
                if (c->parent() != &pages || c->kind() != K::TabSheet) continue;
                std::wstring caption = widen(c->caption());
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = caption.data();
                SendMessageW(h, TCM_INSERTITEMW, WPARAM(index++), LPARAM(&item));
            }
            SendMessageW(h, TCM_SETCURSEL, WPARAM(pages.activePage()), 0);
            // The window covers the row of tabs only; the form paints the page
            // body, so that the pages' labels and images show on it.
            RECT display{0, 0, ch.rect.right - ch.rect.left, ch.rect.bottom - ch.rect.top};
            SendMessageW(h, TCM_ADJUSTRECT, FALSE, LPARAM(&display));
            ch.tabRow = index > 0 ? int(display.top) : 0;
            break;
        }
        default: break;
    }
}

void FormWindow::updateChild(Child& ch, ui::Prop p) {
    using K = ui::ControlKind;
    const Updating updating(updating_);
    const HWND h = ch.hwnd;
    ui::Control& c = *ch.control;
    switch (p) {
        case ui::Prop::Caption:
            if (c.kind() == K::Button || c.kind() == K::CheckBox || c.kind() == K::Edit) setWindowText(h, c.caption());
            break;
        case ui::Prop::Font:
            SendMessageW(h, WM_SETFONT, WPARAM(ui_.resources().font(c.font(), false, dpi_)), TRUE);
            if (c.kind() == K::CheckListBox)
                SendMessageW(h, LB_SETITEMHEIGHT, 0, LPARAM(listItemHeight(static_cast<ui::CheckListBox&>(c))));
            InvalidateRect(h, nullptr, TRUE);
            break;
        case ui::Prop::Color: InvalidateRect(h, nullptr, TRUE); break;
        case ui::Prop::Checked:
            if (c.kind() == K::CheckBox) fillChild(ch);
            else InvalidateRect(h, nullptr, FALSE);
            break;
        case ui::Prop::ItemIndex:
            if (c.kind() == K::ComboBox)
                SendMessageW(h, CB_SETCURSEL, WPARAM(static_cast<ui::ComboBox&>(c).itemIndex()), 0);
            else if (c.kind() == K::CheckListBox)
                SendMessageW(h, LB_SETCURSEL, WPARAM(static_cast<ui::CheckListBox&>(c).itemIndex()), 0);
            else if (c.kind() == K::PageControl)
                SendMessageW(h, TCM_SETCURSEL, WPARAM(static_cast<ui::PageControl&>(c).activePage()), 0);
            break;
        case ui::Prop::Items:
        case ui::Prop::Lines:
        case ui::Prop::Position:
        case ui::Prop::Range: fillChild(ch); break;
        default: break;
    }
}

RECT FormWindow::childRect(const Child& ch) const {
    RECT r = px(ch.control->clientBounds());
    if (ch.control->kind() == ui::ControlKind::ComboBox) {
        const int rows = static_cast<const ui::ComboBox*>(ch.control)->dropDownCount;
        r.bottom += rows > 0 ? rows * (ui_.resources().measure(ch.control->font(), "Ag", false, dpi_).height + 2) + 2
                             : px(kDropDownHeight);
    }
    if (ch.control->kind() == ui::ControlKind::PageControl && ch.tabRow > 0) r.bottom = r.top + ch.tabRow;
    return r;
}

// Positions, visibility and enabled state follow the control and its parents.
void FormWindow::layoutChildren() {
    for (Child& ch : children_) {
        const RECT r = childRect(ch);
        if (!EqualRect(&r, &ch.rect)) {
            SetWindowPos(ch.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
            ch.rect = r;
        }
        const bool visible = shown(*ch.control);
        if (visible != ch.visible) {
            ShowWindow(ch.hwnd, visible ? SW_SHOWNA : SW_HIDE);
            ch.visible = visible;
        }
        const bool enabled = usable(*ch.control);
        if (enabled != ch.enabled) {
            EnableWindow(ch.hwnd, enabled);
            ch.enabled = enabled;
        }
    }
    cutAroundSiblings();
}

// A control that a later sibling lies on is cut around it, so that the
// sibling shows and takes the clicks while the tab order, which is the order
// of the windows, stays as designed (a list set into a check box's caption).
void FormWindow::cutAroundSiblings() {
    for (std::size_t i = 0; i < children_.size(); ++i) {
        Child& ch = children_[i];
        const ui::Rect mine = ch.control->clientBounds();
        std::vector<ui::Rect> holes;
        for (std::size_t j = i + 1; j < children_.size(); ++j) {
            const Child& o = children_[j];
            if (!o.visible || o.control->parent() != ch.control->parent()) continue;
            const ui::Rect b = o.control->clientBounds();
            if (b.right() <= mine.left || mine.right() <= b.left || b.bottom() <= mine.top || mine.bottom() <= b.top)
                continue;
            const RECT p = px(b);
            holes.push_back({int(p.left - ch.rect.left), int(p.top - ch.rect.top), int(p.right - p.left),
                             int(p.bottom - p.top)});
        }
        if (holes == ch.holes) continue;
        ch.holes = holes;
        if (holes.empty()) {
            SetWindowRgn(ch.hwnd, nullptr, TRUE);
            continue;
        }
        UniqueRegion shape(CreateRectRgn(0, 0, ch.rect.right - ch.rect.left, ch.rect.bottom - ch.rect.top));
        for (const ui::Rect& h : holes) {
            const UniqueRegion hole(CreateRectRgn(h.left, h.top, h.right(), h.bottom()));
            CombineRgn(shape.get(), shape.get(), hole.get(), RGN_DIFF);
        }
        if (SetWindowRgn(ch.hwnd, shape.get(), TRUE)) static_cast<void>(shape.release());  // the window owns it now
    }
}

void FormWindow::childCommand(Child& ch, int code) {
    using K = ui::ControlKind;
    ui::Control* c = ch.control;
    const HWND h = ch.hwnd;
    switch (c->kind()) {
        case K::Button:
            if (code == BN_CLICKED) dispatch([c] {
                const auto handler = c->onClick;
                if (handler) handler();
            });
            break;
        case K::CheckBox:
            if (code == BN_CLICKED) {
                auto* box = static_cast<ui::CheckBox*>(c);
                const bool checked = SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
                dispatch([box, checked] { box->setChecked(checked); });
                // The handler may have set it back.
                if (form_) SendMessageW(h, BM_SETCHECK, box->checked() ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            break;
        case K::ComboBox:
            if (code == CBN_SELCHANGE) {
                auto* combo = static_cast<ui::ComboBox*>(c);
                const int index = int(SendMessageW(h, CB_GETCURSEL, 0, 0));
                dispatch([combo, index] { combo->selectFromUser(index); });
            }
            break;
        case K::Edit:
            if (code == EN_CHANGE && updating_ == 0) {
                auto* edit = static_cast<ui::Edit*>(c);
                std::string text = windowText(h);
                dispatch([edit, &text] { edit->setTextFromUser(text); });
            }
            break;
        case K::Memo:
            if (code == EN_CHANGE && updating_ == 0) {
                auto* memo = static_cast<ui::Memo*>(c);
                std::vector<std::string> lines = memoLines(windowText(h));
                dispatch([memo, &lines] { memo->setLinesFromUser(std::move(lines)); });
            }
            break;
        case K::CheckListBox:
            if (code == LBN_SELCHANGE) {
                auto* list = static_cast<ui::CheckListBox*>(c);
                const int index = int(SendMessageW(h, LB_GETCURSEL, 0, 0));
                dispatch([list, index] {
                    list->setItemIndex(index);
                    if (list->onChange) list->onChange();
                });
            }
            break;
        default: break;
    }
}

LRESULT FormWindow::childColours(HWND child, HDC dc) {
    const Child* ch = childByHwnd(child);
    if (!ch || !ch->enabled) return 0;
    const ui::Control& c = *ch->control;
    COLORREF back;
    switch (c.kind()) {
        case ui::ControlKind::Edit:
        case ui::ControlKind::Memo:
        case ui::ControlKind::ComboBox:
        case ui::ControlKind::CheckListBox:
            back = c.color() != ui::kDefaultColor ? c.color() : GetSysColor(COLOR_WINDOW);
            break;
        case ui::ControlKind::CheckBox: back = c.color() != ui::kDefaultColor ? c.color() : colourBehind(c); break;
        default: back = colourBehind(c); break;
    }
    SetTextColor(dc, c.font().color);
    SetBkColor(dc, back);
    return LRESULT(ui_.resources().brush(back));
}

// ---- the check list box ------------------------------------------------------------------------

int FormWindow::listItemHeight(const ui::CheckListBox& list) {
    if (list.itemHeight > 0) return px(list.itemHeight);
    return std::max(px(16), ui_.resources().measure(list.font(), "Ag", false, dpi_).height + 2);
}

void FormWindow::measureItem(MEASUREITEMSTRUCT& m) {
    if (m.CtlType != ODT_LISTBOX) return;
    if (const Child* ch = childById(int(m.CtlID)); ch && ch->control->kind() == ui::ControlKind::CheckListBox)
        m.itemHeight = UINT(listItemHeight(*static_cast<const ui::CheckListBox*>(ch->control)));
}

void FormWindow::drawItem(const DRAWITEMSTRUCT& d) {
    const Child* ch = childById(int(d.CtlID));
    if (!ch || ch->control->kind() != ui::ControlKind::CheckListBox) return;
    const auto& list = *static_cast<const ui::CheckListBox*>(ch->control);
    RECT r = d.rcItem;
    if (d.itemID == UINT(-1) || d.itemID >= list.items().size()) {
        if (d.itemState & ODS_FOCUS) DrawFocusRect(d.hDC, &r);
        return;
    }
    const auto& item = list.items()[d.itemID];
    const bool selected = d.itemState & ODS_SELECTED;
    const COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT)
                                   : (list.color() != ui::kDefaultColor ? list.color() : GetSysColor(COLOR_WINDOW));
    FillRect(d.hDC, &r, ui_.resources().brush(back));
    const int box = checkBoxSize(r.bottom - r.top, dpi_);
    RECT check{r.left + px(2), r.top + (r.bottom - r.top - box) / 2, 0, 0};
    check.right = check.left + box;
    check.bottom = check.top + box;
    DrawFrameControl(d.hDC, &check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (item.checked ? DFCS_CHECKED : 0));
    RECT text = r;
    text.left = check.right + px(4);
    const Selected font(d.hDC, ui_.resources().font(list.font(), false, dpi_));
    SetBkMode(d.hDC, TRANSPARENT);
    SetTextColor(d.hDC, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                 : (ch->enabled ? COLORREF(list.font().color) : GetSysColor(COLOR_GRAYTEXT)));
    const std::wstring w = widen(item.text);
    DrawTextW(d.hDC, w.c_str(), int(w.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (d.itemState & ODS_FOCUS) DrawFocusRect(d.hDC, &r);
}

void FormWindow::toggleListItem(int id, int index) {
    Child* ch = childById(id);
    if (!ch || !form_ || ch->control->kind() != ui::ControlKind::CheckListBox) return;
    auto* list = static_cast<ui::CheckListBox*>(ch->control);
    if (index < 0 || index >= int(list->items().size())) return;
    dispatch([list, index] {
        list->setItemChecked(index, !list->items()[std::size_t(index)].checked);
        if (list->onClickCheck) list->onClickCheck(index);
    });
}

LRESULT CALLBACK FormWindow::listProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    try {
        return listMessage(h, msg, wParam, lParam, id, reinterpret_cast<FormWindow*>(self));
    } catch (...) {
        logUnhandled();
        return 0;
    }
}

// The list's own mouse events, in its client coordinates.
void FormWindow::listMouse(int id, bool doubleClick, LPARAM at) {
    Child* ch = childById(id);
    if (!ch || !form_ || ch->control->kind() != ui::ControlKind::CheckListBox) return;
    ui::Control* list = ch->control;
    const ui::MouseEvent e{ui::MouseButton::Left, ui::dpi::toModel(GET_X_LPARAM(at), dpi_),
                           ui::dpi::toModel(GET_Y_LPARAM(at), dpi_)};
    dispatch([list, doubleClick, e] {
        if (doubleClick) {
            if (const auto handler = list->onDblClick) handler();
        } else if (const auto handler = list->onMouseUp) {
            handler(e);
        }
    });
}

LRESULT FormWindow::listMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, FormWindow* window) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const LRESULT result = commonControls::defSubclassProc(h, msg, wParam, lParam);
            const DWORD hit = DWORD(SendMessageW(h, LB_ITEMFROMPOINT, 0, lParam));
            const int itemHeight = int(SendMessageW(h, LB_GETITEMHEIGHT, 0, 0));
            if (HIWORD(hit) == 0 && GET_X_LPARAM(lParam) < checkBoxSize(itemHeight, window->dpi_) + window->px(4))
                window->toggleListItem(int(id), int(LOWORD(hit)));
            if (msg == WM_LBUTTONDBLCLK && IsWindow(h)) window->listMouse(int(id), true, lParam);
            return result;
        }
        case WM_LBUTTONUP: {
            const LRESULT result = commonControls::defSubclassProc(h, msg, wParam, lParam);
            window->listMouse(int(id), false, lParam);
            return result;
        }
        case WM_CHAR:
            if (wParam == L' ') {
                window->toggleListItem(int(id), int(SendMessageW(h, LB_GETCURSEL, 0, 0)));
                return 0;
            }
            break;
        case WM_NCDESTROY: commonControls::removeWindowSubclass(h, listProc, id); break;
        default: break;
    }
    return commonControls::defSubclassProc(h, msg, wParam, lParam);
}

}  // namespace win32

namespace win32 {

// ---- typed characters --------------------------------------------------------------------------

// Looked up at each message: a handler bound after the window was made counts too.
ui::Control* FormWindow::keyHandlerOf(int id) {
    if (!form_) return nullptr;
    Child* ch = childById(id);
    return ch && ch->control->onKeyPress ? ch->control : nullptr;
}

// True when a character goes on to the control, as `key`.
bool FormWindow::keyPress(ui::Control& c, int& key) {
    bool ran = false;
    dispatch([&c, &key, &ran] {
        const auto handler = c.onKeyPress;
        if (handler) handler(key);
        ran = true;
    });
    // A handler that failed midway has not let its character through.
    return ran && key > 0 && key <= 0xFFFF;
}

LRESULT CALLBACK FormWindow::keyProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    try {
        return keyMessage(h, msg, wParam, lParam, id, reinterpret_cast<FormWindow*>(self));
    } catch (...) {
        logUnhandled();
        return 0;
    }
}

LRESULT FormWindow::keyMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, FormWindow* window) {
    switch (msg) {
        case WM_GETDLGCODE: {
            const LRESULT code = commonControls::defSubclassProc(h, msg, wParam, lParam);
            // Enter is the handler's character then, not the dialog keys' default button.
            const auto* m = reinterpret_cast<const MSG*>(lParam);
            if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN && window->keyHandlerOf(int(id)))
                return code | DLGC_WANTMESSAGE;
            return code;
        }
        case WM_KEYDOWN:
            // An edit in a dialog would pass Enter on to the default button itself.
            if (wParam == VK_RETURN) {
                const ui::Control* c = window->keyHandlerOf(int(id));
                if (c && c->kind() == ui::ControlKind::Edit) return 0;
            }
            break;
        case WM_CHAR:
            if (ui::Control* c = window->keyHandlerOf(int(id))) {
                int key = int(wParam);
                // The handler may have closed the form and its controls with it.
                if (!window->keyPress(*c, key) || !IsWindow(h)) return 0;
                wParam = WPARAM(key);
            }
            break;
        case WM_NCDESTROY: commonControls::removeWindowSubclass(h, keyProc, id); break;
        default: break;
    }
    return commonControls::defSubclassProc(h, msg, wParam, lParam);
}

}  // namespace win32

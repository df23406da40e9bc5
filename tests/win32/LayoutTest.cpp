// Every window's layout realized with the real window system and fonts: no
// text runs out of its control, no two texts lie on each other, nothing sticks
// out of its window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "forms/Forms.h"
#include "ui/Dpi.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"
#include "win32/Text.h"
#include "win32/Win32Ui.h"

namespace {

using K = ui::ControlKind;

std::string describe(const ui::Control& c) {
    const ui::Rect& r = c.bounds();
    char buf[64];
    std::snprintf(buf, sizeof buf, " (%d,%d %dx%d)", r.left, r.top, r.width, r.height);
    return c.name() + buf;
}

bool bearsText(const ui::Control& c) {
    if (c.kind() == K::Label || c.kind() == K::Panel) return !c.caption().empty();
    return c.kind() == K::Button || c.kind() == K::CheckBox || c.kind() == K::Memo || c.kind() == K::Edit ||
           c.kind() == K::ComboBox;
}

// The room in pixels a control leaves its caption at `dpi`: its box less what
// its own drawing takes. The bevel, edges and focus rectangle are drawn as
// many pixels wide at any resolution; the check box's square grows with it.
ui::Size captionRoom(const ui::Control& c, int dpi) {
    const ui::Rect b{0, 0, ui::dpi::toPixels(c.bounds().width, dpi), ui::dpi::toPixels(c.bounds().height, dpi)};
    switch (c.kind()) {
        case K::Panel: {  // bevels
            const auto& p = static_cast<const ui::Panel&>(c);
            const int edges = 2 * (int(p.bevel) + int(p.innerLowered));
            return {b.width - edges, b.height - edges};
        }
        case K::Button: return {b.width - 2 * 4, b.height - 2 * 3};  // edges and focus rectangle
        case K::CheckBox:
            if (static_cast<const ui::CheckBox&>(c).pushLike) return {b.width - 2 * 4, b.height - 2 * 3};  // a button
            return {b.width - ui::dpi::toPixels(forms::kCheckBoxTextLeft, dpi), b.height};
        default: return {b.width, b.height};
    }
}

// The child window standing at the control's place (in model units).
HWND childAt(HWND form, const ui::Rect& model) {
    const ui::Rect r = ui::dpi::toPixels(model, win32::dpi::ofWindow(form));
    for (HWND c = GetWindow(form, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT w;
        GetWindowRect(c, &w);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&w), 2);
        if (w.left == r.left && w.top == r.top && w.right - w.left == r.width) return c;
    }
    return nullptr;
}

class UiLayout : public ::testing::TestWithParam<const forms::FormLayout*> {
protected:
    win32::Win32Ui ui{GetModuleHandleW(nullptr)};

    // Windowless controls are painted with the form's fonts, the others with plain ones; in model units.
    ui::Size measure(ui::Form& f, const ui::Control& c, const std::string& text) {
        if (c.isGraphic()) return f.measureText(c.font(), text);
        const int dpi = win32::dpi::ofWindow(HWND(f.handle()));
        const ui::Size s = ui.resources().measure(c.font(), text, false, dpi);
        return {ui::dpi::toModelCeil(s.width, dpi), ui::dpi::toModelCeil(s.height, dpi)};
    }
    // The same in the window's pixels.
    ui::Size measurePixels(ui::Form& f, const ui::Control& c, const std::string& text) {
        return ui.resources().measure(c.font(), text, c.isGraphic() && f.transparentColor(),
                                      win32::dpi::ofWindow(HWND(f.handle())));
    }

    void checkText(ui::Form& f, const ui::Control& c) {
        const std::string where = f.name() + "." + describe(c);
        if (c.kind() == K::Memo) {
            const HWND edit = childAt(HWND(f.handle()), c.clientBounds());
            ASSERT_TRUE(edit) << where;
            RECT room{};
            SendMessageW(edit, EM_GETRECT, 0, LPARAM(&room));
            const int dpi = win32::dpi::ofWindow(edit);
            room = {0, 0, ui::dpi::toModel(room.right - room.left, dpi), ui::dpi::toModel(room.bottom - room.top, dpi)};
            const auto& lines = static_cast<const ui::Memo&>(c).lines();
            for (std::string line : lines) {
                while (!line.empty() && line.back() == ' ') line.pop_back();  // wrapping ignores them
                EXPECT_LE(measure(f, c, line).width, room.right - room.left) << where << " \"" << line << "\"";
            }
            EXPECT_LE(int(lines.size()) * measure(f, c, "Ag").height, room.bottom - room.top) << where;
            return;
        }
        if (c.kind() == K::Edit || c.kind() == K::ComboBox) return;  // the user's text scrolls
        const std::string caption = painted(c);
        const int dpi = win32::dpi::ofWindow(HWND(f.handle()));
        const ui::Size text = measurePixels(f, c, caption), room = captionRoom(c, dpi);
        if (c.kind() == K::CheckBox && static_cast<const ui::CheckBox&>(c).wordWrap) {
            EXPECT_LE(wrappedHeight(c, caption, room.width, dpi), room.height) << where << " \"" << caption << "\"";
            return;
        }
        const bool wraps = c.kind() == K::Label && static_cast<const ui::Label&>(c).wordWrap;
        EXPECT_TRUE(wraps || text.width <= room.width) << where << " \"" << caption << "\" " << text.width;
        EXPECT_LE(text.height, room.height) << where << " \"" << caption << "\"";
    }

    static std::string painted(const ui::Control& c) {
        std::string caption;
        for (char ch : c.caption())
            if (ch != '&') caption += ch;
        return caption;
    }

    // The height in pixels of a caption broken into lines as a multi-line button breaks it.
    int wrappedHeight(const ui::Control& c, const std::string& text, int width, int dpi) {
        const win32::UniqueDc dc(CreateCompatibleDC(nullptr));
        const win32::Selected font(dc.get(), ui.resources().font(c.font(), false, dpi));
        RECT r{0, 0, width, 0};
        const std::wstring w = win32::widen(text);
        DrawTextW(dc.get(), w.c_str(), int(w.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return int(r.bottom);
    }

    // A control set into the blanks of a check box's caption hides none of its letters.
    void checkGap(ui::Form& f, const ui::Control& box, const ui::Control& inGap) {
        const std::string text = painted(box);
        const int origin = box.bounds().left + forms::kCheckBoxTextLeft;
        const ui::Rect& g = inGap.bounds();
        std::size_t i = 0;
        while (i < text.size()) {
            std::size_t next = i + 1;
            while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
            const unsigned char ch = static_cast<unsigned char>(text[i]);
            if (ch >= 0x80 || std::isalnum(ch)) {
                const int from = origin + measure(f, box, text.substr(0, i)).width;
                const int to = origin + measure(f, box, text.substr(0, next)).width;
                EXPECT_TRUE(to <= g.left || g.right() <= from)
                    << f.name() << "." << describe(inGap) << " hides \"" << text.substr(i, next - i) << "\" of "
                    << box.name() << " at " << from;
            }
            i = next;
        }
    }

    static const forms::ControlLayout* designed(const forms::FormLayout& layout, const std::string& name) {
        for (const forms::ControlLayout& c : layout.controls)
            if (name == c.name) return &c;
        return nullptr;
    }
};

TEST_P(UiLayout, TextsFitTheirControlsAndLieApart) {
    auto form = forms::build(*GetParam(), ui);
    ui::Form& f = *form;
    ui.realize(f);
    // Run again on a screen of another resolution (see the test list): the windows are drawn at it.
    if (const char* dpi = std::getenv("LUMIVO_WINE_DPI")) {
        ASSERT_EQ(win32::dpi::ofWindow(HWND(f.handle())), std::atoi(dpi));
    }
    forms::placeInGaps(f, *GetParam());
    std::vector<const ui::Control*> texts;
    for (const auto& owned : f.controls()) {
        const ui::Control& c = *owned;
        if (!c.showing() || !bearsText(c)) continue;
        checkText(f, c);
        const ui::Control* p = c.parent();
        const ui::Rect& b = c.bounds();
        const int width = p ? p->bounds().width : f.bounds().width, height = p ? p->bounds().height : f.bounds().height;
        EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right() <= width && b.bottom() <= height)
            << f.name() << "." << describe(c) << " sticks out of its " << width << "x" << height << " parent";
        for (const ui::Control* o : texts) {
            const ui::Rect& a = o->bounds();
            const bool apart = a.right() <= b.left || b.right() <= a.left || a.bottom() <= b.top || b.bottom() <= a.top;
            const forms::ControlLayout *mine = designed(*GetParam(), c.name()), *its = designed(*GetParam(), o->name());
            if (mine && mine->inGapOf && o->name() == mine->inGapOf) checkGap(f, *o, c);
            else if (its && its->inGapOf && c.name() == its->inGapOf) checkGap(f, c, *o);
            else EXPECT_TRUE(o->parent() != p || apart) << f.name() << ": " << describe(*o) << " and " << describe(c);
        }
        texts.push_back(&c);
    }
    f.destroy();
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, UiLayout, ::testing::ValuesIn(forms::allLayouts()),
                         [](const ::testing::TestParamInfo<const forms::FormLayout*>& p) {
                             return std::string(p.param->name);
                         });

}  // namespace

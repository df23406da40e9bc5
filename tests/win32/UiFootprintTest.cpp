// What the window system keeps in memory, or leaves until it is needed, must
// not change what the user sees: tooltips that wait for the mouse, pictures
// read without a copy, windows painted through a back buffer of one paint.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "win32/Handles.h"
#include "win32/Text.h"
#include "win32/UiPaint.h"
#include "win32/Win32Ui.h"
#include "UiKit.h"

namespace {

using uikit::addLabel;
using uikit::classOf;
using uikit::hwndOf;
using uikit::pump;

class UiFootprint : public ::testing::Test {
protected:
    ~UiFootprint() override {
        MSG m;
        PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    win32::Win32Ui ui{GetModuleHandleW(nullptr)};
};

// ---- tooltips -------------------------------------------------------------------------------

HWND tooltipOf(HWND owner) {
    struct Ctx { HWND owner, found; } ctx{owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM p) -> BOOL {
        auto& c = *reinterpret_cast<Ctx*>(p);
        if (classOf(h) == "tooltips_class32" && GetWindow(h, GW_OWNER) == c.owner) c.found = h;
        return !c.found;
    }, LPARAM(&ctx));
    return ctx.found;
}

std::vector<std::string> toolTexts(HWND tip) {
    std::vector<std::string> texts;
    const int n = int(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t buf[256] = {};
        TTTOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.lpszText = buf;
        SendMessageW(tip, TTM_ENUMTOOLSW, WPARAM(i), LPARAM(&ti));
        std::string t = win32::narrow(buf);
        t.erase(t.find_last_not_of(' ') + 1);  // the padding for the painted width
        texts.push_back(t);
    }
    return texts;
}

// No tooltip until the mouse first comes over the window: a tip needs the
// mouse to rest there anyway, and a clock nobody points at is spared the tooltip.
TEST_F(UiFootprint, HintsWaitForTheMouseBeforeTheirTooltipIsMade) {
    ui::Form f("TFormUiTest", "F"), plain("TFormUiTest", "Plain");
    f.border = plain.border = ui::BorderStyle::None;
    f.setClientSize(200, 100);
    plain.setClientSize(100, 50);
    // Away from the pointer, whose own moves would come at any time.
    f.setPosition(300, 300);
    plain.setPosition(600, 300);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    f.showHint = plain.showHint = true;
    f.setHint("понедельник 07 декабря 2026");
    addLabel(f, "L", {0, 0, 100, 50}, "12:00").setHint("Часы");
    addLabel(plain, "L", {0, 0, 100, 50}, "12:00");
    HWND before = nullptr, after = nullptr, plainTip = nullptr;
    std::vector<std::string> texts;
    int ticks = 0;
    f.addTimer("T", 20, true).onTimer = [&] {
        const HWND h = hwndOf(f);
        if (++ticks == 1) {
            before = tooltipOf(h);
            // Posted, so that they come through the program's own loop as the system's do.
            PostMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
            PostMessageW(hwndOf(plain), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        } else if (ticks == 3) {
            after = tooltipOf(h);
            plainTip = tooltipOf(hwndOf(plain));
            if (after) texts = toolTexts(after);
            f.close();
        }
    };
    ui.realize(plain);
    plain.show();
    ui.showModal(f);

    EXPECT_EQ(nullptr, before);
    ASSERT_NE(nullptr, after);
    EXPECT_EQ((std::vector<std::string>{"Часы", "понедельник 07 декабря 2026"}), texts);
    EXPECT_EQ(nullptr, plainTip);
}

// ---- pictures -------------------------------------------------------------------------------

// A DIB section as resources come: 24 bits, rows bottom to top unless asked otherwise.
win32::UniqueBitmap dibOf(int width, int height, int bits, bool topDown, const std::vector<ui::Color>& model) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = topDown ? -height : height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = WORD(bits);
    bi.bmiHeader.biCompression = BI_RGB;
    void* raw = nullptr;
    win32::UniqueBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &raw, nullptr, 0));
    auto* bytes = static_cast<BYTE*>(raw);
    const int stride = ((width * bits / 8) + 3) & ~3;
    for (int y = 0; y < height; ++y) {
        BYTE* row = bytes + std::size_t(topDown ? y : height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const ui::Color c = model[std::size_t(y) * width + x];  // 0x00BBGGRR
            BYTE* p = row + x * (bits / 8);
            p[0] = BYTE(c >> 16);  // blue
            p[1] = BYTE(c >> 8);
            p[2] = BYTE(c);        // red
            if (bits == 32) p[3] = 0xFF;  // whatever the fourth byte holds, a colour has none
        }
    }
    GdiFlush();
    return dib;
}

TEST(UiPictures, ReadKeepsRowsColumnsAndColours) {
    constexpr int w = 5, h = 3;
    std::vector<ui::Color> model(w * h);
    for (int i = 0; i < w * h; ++i) model[std::size_t(i)] = ui::Color(0x0A0000 * (i % 3) + 0x000B00 * (i / 5) + i);
    model[0] = ui::kRed;
    model[w * h - 1] = ui::kBlue;
    for (const auto& [bits, topDown] : {std::pair{24, false}, std::pair{24, true}, std::pair{32, false}}) {
        const win32::UniqueBitmap dib = dibOf(w, h, bits, topDown, model);
        ASSERT_TRUE(dib);
        const ui::Bitmap b = win32::readBitmap(dib.get());
        EXPECT_EQ(w, b.width);
        EXPECT_EQ(h, b.height);
        EXPECT_EQ(model, b.pixels) << bits << (topDown ? " top-down" : " bottom-up");
    }
    EXPECT_TRUE(win32::readBitmap(nullptr).empty());
}

// ---- painting -------------------------------------------------------------------------------

// What the window holds now, read back from its own device context.
ui::Bitmap windowPixels(HWND h) {
    RECT client;
    GetClientRect(h, &client);
    win32::Surface s;
    if (!s.resize(client.right, client.bottom)) return {};
    const win32::WindowDc dc(h);
    BitBlt(s.dc(), 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
    GdiFlush();
    return win32::fromDib(s.bits(), s.width(), s.height());
}

// Each paint composes what it repaints afresh: a part repainted alone must
// match the model as much as the whole window painted at once.
TEST_F(UiFootprint, PaintedWindowMatchesTheModelAfterPartRepaints) {
    ui::Form f("TFormUiTest", "F");
    f.border = ui::BorderStyle::None;
    f.setPosition(300, 300);
    f.setClientSize(120, 60);
    f.setColor(0x203040);
    f.setStayOnTop(true);
    auto& left = f.add(std::make_unique<ui::Panel>("Left"));
    left.bevel = false;
    left.setBounds({0, 0, 40, 60});
    left.setColor(0x00A000);
    auto& right = f.add(std::make_unique<ui::Panel>("Right"));
    right.bevel = false;
    right.setBounds({80, 0, 40, 60});
    right.setColor(0xA00000);
    ui::Bitmap pic(4, 4, 0x0000C0);
    auto& image = f.add(std::make_unique<ui::Image>("Pic"));
    image.setBounds({50, 20, 8, 8});
    image.stretch = true;
    image.setPicture(pic);
    ui.realize(f);
    f.show();
    pump(100);
    const HWND h = hwndOf(f);
    ASSERT_FALSE(GetUpdateRect(h, nullptr, FALSE));
    EXPECT_EQ(f.captureClient().pixels, windowPixels(h).pixels);

    right.setColor(0x0080FF);
    ui.flushAll();  // as after any handler: only the right panel is invalidated
    RECT dirty{};
    EXPECT_TRUE(GetUpdateRect(h, &dirty, FALSE));
    EXPECT_EQ(80, dirty.left);
    pump(100);
    const ui::Bitmap shown = windowPixels(h);
    EXPECT_EQ(f.captureClient().pixels, shown.pixels);
    ASSERT_EQ(120, shown.width);
    EXPECT_EQ(0x0080FFu, shown.at(100, 30));
    EXPECT_EQ(0x00A000u, shown.at(20, 30));
    EXPECT_EQ(0x0000C0u, shown.at(53, 23));
}

}  // namespace

// No exception crosses the system's frames: failures in the window system's
// own code, outside any handler's guard, end at the window procedure.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "win32/Win32Ui.h"
#include "UiKit.h"

namespace {

using uikit::addLabel;
using uikit::classOf;
using uikit::hwndOf;
using uikit::pump;
// Allocations left before one fails; negative: none fails.
std::atomic<int> allocationsUntilFailure{-1};
}  // namespace

// The replacement pair allocates with malloc and frees with free; GCC cannot
// see that they belong together once it inlines them.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
    if (allocationsUntilFailure.load() >= 0 && allocationsUntilFailure.fetch_sub(1) == 0) throw std::bad_alloc();
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// The handler returns normally; what fails is the painting after it, which
// no handler's guard covers.
TEST(UiEdge, AFailedPaintEndsAtTheWindowProcedureAndTheProgramGoesOn) {
    win32::Win32Ui ui(GetModuleHandleW(nullptr));
    ui::Form f("TFormUiTest", "F");
    f.setClientSize(200, 40);
    auto& label = f.add(std::make_unique<ui::Label>("L"));
    label.setCaption("Текст, который рисуется после обработчика");
    int paints = 0, ticks = 0;
    bool failNext = false;
    f.onPaint = [&] {
        ++paints;
        if (std::exchange(failNext, false)) allocationsUntilFailure = 0;
    };
    f.addTimer("T", 10, true).onTimer = [&] { ++ticks; };
    ui.realize(f);
    f.show();
    ASSERT_EQ(1, paints);

    failNext = true;
    InvalidateRect(hwndOf(f), nullptr, FALSE);
    EXPECT_NO_THROW(UpdateWindow(hwndOf(f)));
    allocationsUntilFailure = -1;
    EXPECT_EQ(2, paints);

    // Painted areas were validated and the paint's bookkeeping undone: a
    // show paints at once again, and the timers keep running.
    RECT pending;
    EXPECT_FALSE(GetUpdateRect(hwndOf(f), &pending, FALSE));
    f.hide();
    f.show();
    EXPECT_EQ(3, paints);
    pump(100);
    EXPECT_GT(ticks, 0);
    EXPECT_TRUE(IsWindow(hwndOf(f)));
}

}  // namespace

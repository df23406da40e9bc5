#pragma once
#include <memory>
#include "core/Paths.h"

namespace app {

class App;
class ClockWindow;
class SplashWindow;

// Deletes the scratch files Tmp1 to Tmp3, making their folder if need be.
void ClearScratchFiles(const core::Paths&);

// The order in which one copy of the program comes up and goes down.
class Program {
public:
    explicit Program(App& app);
    ~Program();
    // The whole run: start-up, the message loop, the end step. A start-up that
    // fails leaves its record (no window can show it yet) and a non-zero exit code.
    int run();
    void moduleStartup();   // before anything else: scratch files cleared
    void start();           // clock window, splash, then the clock is shown
    void end();             // after the message loop: scratch files, the pending power action
    // After the message loop: the windows go, then the end step.
    void finish();
    ClockWindow& clock() { return *clock_; }
    SplashWindow& splash() { return *splash_; }

private:
    App& app_;
    std::unique_ptr<ClockWindow> clock_;
    std::unique_ptr<SplashWindow> splash_;
    int entryStep_ = 0;
};

}  // namespace app

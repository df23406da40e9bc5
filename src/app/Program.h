#pragma once
#include <memory>

namespace app {

class App;
class ClockWindow;
class SplashWindow;

// The order in which one copy of the program comes up and goes down.
class Program {
public:
    explicit Program(App& app);
    ~Program();
    void moduleStartup();   // before anything else: scratch files cleared
    void start();           // clock window, splash, then the clock is shown
    void end();             // after the message loop: scratch files, the pending power action
    ClockWindow& clock() { return *clock_; }
    SplashWindow& splash() { return *splash_; }

private:
    void clearScratchFiles();
    App& app_;
    std::unique_ptr<ClockWindow> clock_;
    std::unique_ptr<SplashWindow> splash_;
};

}  // namespace app

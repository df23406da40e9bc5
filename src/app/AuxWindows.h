#pragma once
#include <memory>
#include "core/Session.h"
#include "ui/Form.h"

namespace app {

class App;

// TFormSplashScreen: up for at most five seconds at start.
class SplashWindow {
public:
    explicit SplashWindow(App& app);
    ~SplashWindow();
    void create();            // realize, create handler, show
    void close();             // by a key, a click, its timer or the clock
    // The splash's own picture, which the about and unsupported-system windows
    // show as their logo; held once, not copied.
    const ui::Bitmap& SplashPicture() const { return Image1_.picture(); }
    void releasePicture() { Image1_.setPicture({}); }
    ui::Form& form() { return *form_; }

    void FormCreate();
    void FormPaint();
    void FormClose();

private:
    App& app_;
    std::unique_ptr<ui::Form> form_;
    ui::Image& Image1_;
    ui::Timer& Timer1_;
    bool shaped_ = false;
};

// TFormAbout, opened from the menu.
class AboutWindow {
public:
    explicit AboutWindow(App& app);
    ~AboutWindow();
    void showModal();
    ui::Form& form() { return *form_; }

private:
    void FormCreate();
    void setLinkColours(ui::Color mail, ui::Color web);
    App& app_;
    core::ModalCount modal_;
    std::unique_ptr<ui::Form> form_;
    ui::Image& ImageLogo_;
    ui::Memo& Memo3_;
    ui::Label& LabelEMail_;
    ui::Label& LabelWeb_;
};

// TFormFirstLaunch: once, when no settings were stored; the settings window follows it.
class FirstLaunchWindow {
public:
    explicit FirstLaunchWindow(App& app);
    ~FirstLaunchWindow();
    // Shows it; once it has gone, the settings window, preloaded from the shipped defaults.
    void showModal();
    ui::Form& form() { return *form_; }

private:
    void FormCreate();
    void FormDestroy();
    App& app_;
    core::ModalCount modal_;
    std::unique_ptr<ui::Form> form_;
    ui::Panel& Panel2_;
    ui::Panel& Panel3_;
};

// TFormNotSupportedOS: its only button ends the program.
class NotSupportedOsWindow {
public:
    explicit NotSupportedOsWindow(App& app);
    ~NotSupportedOsWindow();
    void showModal();
    ui::Form& form() { return *form_; }

private:
    void FormCreate();
    App& app_;
    std::unique_ptr<ui::Form> form_;
    ui::Image& ImageLogo_;
    ui::Memo& Memo2_;
};

// The splash picture for the logos, loaded again when the splash has let it go.
ui::Bitmap LogoPicture(App& app);

}  // namespace app

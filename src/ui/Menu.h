#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class MenuItem {
public:
    MenuItem(std::string name, std::string caption, unsigned command = 0)
        : name_(std::move(name)), caption_(std::move(caption)), command_(command) {}

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    unsigned command() const { return command_; }
    bool separator() const { return caption_ == "-"; }

    bool checked = false;
    bool autoCheck = false;   // flips its own mark before onClick runs
    bool visible = true;
    bool enabled = true;
    bool isDefault = false;
    std::function<void()> onClick;

    std::vector<std::unique_ptr<MenuItem>>& items() { return items_; }
    const std::vector<std::unique_ptr<MenuItem>>& items() const { return items_; }
    MenuItem& add(std::string name, std::string caption, unsigned command = 0);

    MenuItem* find(const std::string& name);
    MenuItem* findCommand(unsigned command);
    // What a click does: the mark first, then the handler.
    void click();

private:
    std::string name_, caption_;
    unsigned command_;
    std::vector<std::unique_ptr<MenuItem>> items_;
};

class PopupMenu {
public:
    explicit PopupMenu(std::string name) : root_(std::move(name), "") {}
    const std::string& name() const { return root_.name(); }
    MenuItem& root() { return root_; }
    const MenuItem& root() const { return root_; }
    MenuItem& item(const std::string& name);  // throws WindowError when absent
    std::function<void()> onPopup;            // about to open

private:
    MenuItem root_;
};

}  // namespace ui

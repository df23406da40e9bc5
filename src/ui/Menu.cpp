#include "ui/Menu.h"
#include "platform/Failure.h"

namespace ui {

MenuItem& MenuItem::add(std::string name, std::string caption, unsigned command) {
    items_.push_back(std::make_unique<MenuItem>(std::move(name), std::move(caption), command));
    return *items_.back();
}

MenuItem* MenuItem::find(const std::string& name) {
    if (name_ == name) return this;
    for (auto& i : items_)
        if (MenuItem* m = i->find(name)) return m;
    return nullptr;
}

MenuItem* MenuItem::findCommand(unsigned command) {
    if (command != 0 && command_ == command) return this;
    for (auto& i : items_)
        if (MenuItem* m = i->findCommand(command)) return m;
    return nullptr;
}

void MenuItem::click() {
    if (autoCheck) checked = !checked;
    if (onClick) onClick();
}

MenuItem& PopupMenu::item(const std::string& name) {
    if (MenuItem* m = root_.find(name)) return *m;
    throw platform::WindowError("no menu item " + name);
}

}  // namespace ui

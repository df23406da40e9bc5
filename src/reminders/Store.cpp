#include "reminders/Store.h"

namespace reminders {

std::string RemindKeyOf(int n) { return std::string(kRemindKey) + "\\Remind" + std::to_string(n); }

std::string DisplayLine(const std::optional<std::string>& timeH, const std::optional<std::string>& timeM,
                        const std::optional<std::string>& name) {
    return timeH.value_or("-") + " : " + timeM.value_or("-") + "  -  " + name.value_or("");
}

Store::Store(platform::Registry& registry, RemindEdit& edit, errors::Guard& guard)
    : registry_(registry), edit_(edit), guard_(guard) {}

int Store::AddRemind(const Reminder&) { return 1; }
int Store::UpdateRemind(const Reminder&) { return 1; }
void Store::ListReminds(const ListView&) {}
void Store::FindRemind(const std::string&) {}
void Store::LoadRemindToEditor(int, Reminder&) {}
void Store::DeleteRemind() {}
int Store::RemindTimeFree(const std::string&, const std::string&) { return 1; }
void Store::StoreRemindChecks(const ui::CheckListBox&) {}

}  // namespace reminders

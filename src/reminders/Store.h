#pragma once
#include <string>
#include "errors/Guard.h"
#include "platform/Registry.h"
#include "reminders/Reminder.h"
#include "reminders/State.h"
#include "ui/Control.h"

namespace reminders {

inline constexpr const char* kRemindKey = "Software\\Vantrel\\Lumivo\\Remind";
// The key of reminder n (1-based): kRemindKey + "\\Remind" + n.
std::string RemindKeyOf(int n);

// The settings window's reminder page as the store fills it.
struct ListView {
    ui::CheckListBox& CheckListBox1;
    ui::Control& Button2;  // "&Редактировать"
    ui::Control& Button3;  // "&Удалить"
};

// The stored reminders: numbered keys under kRemindKey, read afresh by every
// operation; no list is kept in memory.
class Store {
public:
    Store(platform::Registry& registry, RemindEdit& edit, errors::Guard& guard);

    // 0 when another reminder has the same time (nothing is written), else 1.
    int AddRemind(const Reminder& fields);
    // Replaces reminder SelectedRemind as a whole; result as AddRemind.
    int UpdateRemind(const Reminder& fields);
    // Every reminder's display line with its enabled mark, sorted; the first
    // selected and both buttons enabled when there is any.
    void ListReminds(const ListView& view);
    // SelectedRemind := the lowest number whose display line is `line`; kept
    // when none is.
    void FindRemind(const std::string& line);
    // Copies the stored values of reminder n over `fields` (values not stored
    // leave its fields alone; the days are always set), and the time, voice
    // and message into EditRemindH/M/Voice and RemindMsg*. Nothing for a
    // number out of range.
    void LoadRemindToEditor(int n, Reminder& fields);
    // Deletes reminder SelectedRemind and moves the later ones down; nothing
    // without a valid selection.
    void DeleteRemind();
    // 1 when no other reminder has this time ("**" matches every hour), else 0.
    int RemindTimeFree(const std::string& hour, const std::string& minute);
    // Each reminder whose display line is an item's text gets that item's mark.
    void StoreRemindChecks(const ui::CheckListBox& list);

private:
    // Numbers inside the count without a key closed up before the numbers
    // change, and told.
    void closeGaps(const errors::Code& code);

    platform::Registry& registry_;
    RemindEdit& edit_;
    errors::Guard& guard_;
};

}  // namespace reminders

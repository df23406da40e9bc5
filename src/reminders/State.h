#pragma once
#include <string>

namespace reminders {

// The next due reminder, found by FindNextRemind and fired by the main tick.
struct NextRemind {
    bool NextRemindSet = false;
    int NextRemindH = 0;   // 26 / 61 while reminders exist but none is due
    int NextRemindM = 0;
    std::string NextRemindName;
};

// What the settings list, the reminder editor and its message editor hand
// each other.
struct RemindEdit {
    int SelectedRemind = 0;      // number of the reminder chosen in the settings list
    int ReminderEditMode = 0;    // 0 the editor adds, 1 it edits SelectedRemind
    std::string RemindMsgCaption;
    std::string RemindMsgText;
    int RemindMsgIcon = 0;       // 0..4
    // The loaded reminder's time and voice, put into the editor at its first paint.
    std::string EditRemindH;
    std::string EditRemindM;
    std::string EditRemindVoice;
    bool RemindLoading = false;  // the editor's change handlers stay quiet meanwhile
};

}  // namespace reminders

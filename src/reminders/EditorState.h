#pragma once
#include <optional>
#include <string>

namespace reminders {

// What the reminder editor and its message editor keep for the whole run.
struct EditorState {
    // 1 once a message was loaded or accepted in this run: the message editor
    // then starts from the shared message rather than its blank one.
    int RemindMsgSet = 0;
    // The message editor was closed with its Ok.
    int RemindMsgAccepted = 0;
    // The file being previewed under the alias mySnd: unset until the first
    // preview or page change of the run, empty once stopped.
    std::optional<std::string> PreviewSoundPath;
};

}  // namespace reminders

#pragma once
#include <array>
#include <optional>
#include <string>

namespace reminders {

// The message box a reminder shows.
struct Message {
    std::string MsgCaption;
    std::string MsgText;
    int MsgIcon = 0;  // 1 information, 2 exclamation, 3 question, 4 stop, else none
    bool operator==(const Message&) const = default;
};

// The reminder editor's contents, as AddRemind and UpdateRemind store them
// and LoadRemindToEditor fills them. An absent optional is an unticked box:
// nothing of it is stored.
struct Reminder {
    std::string Name = "Без названия";     // LabeledEdit1
    std::string TimeH;                     // FrameTimeSet1.EditH: "**" or 0..23, as the editor left it
    std::string TimeM;                     // FrameTimeSet1.EditM
    bool OneLaunch = false;                // CheckBox4
    std::optional<int> SoundType;          // CheckBox6 ticked: ComboBox6's item index
    std::optional<std::string> VoiceType;  // CheckBox5 ticked: ComboBox7's selected text
    std::optional<std::string> SoundFile;  // a file chosen (SpeedButton2 enabled): Edit1
    bool IgnoreLowTime = false;            // CheckBox1
    bool IgnoreDisSound = false;           // CheckBox3
    std::optional<Message> Msg;            // CheckBox2 ticked: RemindMsgCaption, RemindMsgText, RemindMsgIcon
    // SP1 (Monday) .. SP7 (Sunday): down when the reminder is active that day.
    std::array<bool, 7> Days{true, true, true, true, true, true, true};
    bool operator==(const Reminder&) const = default;
};

// How the settings list shows reminder N: TimeH + " : " + TimeM + "  -  " + Name,
// "-" for a missing time text and nothing for a missing name.
std::string DisplayLine(const std::optional<std::string>& timeH, const std::optional<std::string>& timeM,
                        const std::optional<std::string>& name);

}  // namespace reminders

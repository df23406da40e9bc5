#pragma once
#include <span>

namespace errors {

// An internal error code: unit and routine ("0.001 - 005."), followed by the
// routine's step when the failure happened, or fixed as it stands.
struct Code {
    const char* prefix;
    int firstStep;     // ErrorStep on entry
    bool appendStep;
    const char* routine;
};

enum : bool { Fixed = false, Step = true };
// A first step that leaves ErrorStep as the caller set it.
inline constexpr int Keep = -1;

// Every code the program logs, once. Handlers name their code from here; a
// test checks that no code serves two routines unless the design shares it.
// clang-format off
#define LUMIVO_ERROR_CODES(X)                                                                              \
    /* 001: the clock window */                                                                            \
    X(ProgramEntry,       "0.001 - 001.",  0, Step,  "program entry (1 clock window, 2 splash, 3 message loop)")\
    X(ClockPaint,         "0.001 - 002.",  0, Step,  "TFormClock.FormPaint")                               \
    X(CheckChime,         "0.001 - 003.",  0, Step,  "CheckChime")                                         \
    X(PollHotKeys,        "0.001 - 004.",  1, Step,  "PollHotKeys")                                        \
    X(Timer1Timer,        "0.001 - 005.",  1, Step,  "TFormClock.Timer1Timer")                             \
    X(Timer2Timer,        "0.001 - 006.",  1, Step,  "TFormClock.Timer2Timer (quick-exit minute tick)")    \
    X(ViewSecondsA,       "0.001 - 007.",  0, Step,  "TFormClock.ViewSecondsAClick")                       \
    X(OnTopPOM,           "0.001 - 008.",  0, Step,  "TFormClock.OnTopPOMClick")                           \
    X(HidePOM,            "0.001 - 009.",  0, Step,  "TFormClock.HidePOMClick")                            \
    X(SecondCopy,         "0.001 - 010.",  0, Step,  "TFormClock message 0x400 (a second copy started)")   \
    X(RestartHandOver,    "0.001 - 011.",  0, Step,  "TFormClock message 0x401 (a restarted copy took over)")\
    X(ClockCreate,        "0.001 - 012.",  0, Step,  "TFormClock.FormCreate")                              \
    X(ClockShow,          "0.001 - 013.",  0, Step,  "TFormClock.FormShow")                                \
    X(ExitPOM,            "0.001 - 014.",  0, Step,  "TFormClock.ExitPOMClick")                            \
    X(SetTime,            "0.001 - 015.",  0, Step,  "TFormClock.SetTimeClick")                            \
    X(N2,                 "0.001 - 017.",  0, Step,  "TFormClock.N2Click (settings window)")               \
    X(AboutPro,           "0.001 - 019.",  0, Step,  "TFormClock.AboutProClick")                           \
    X(ClockCloseQuery,    "0.001 - 020.",  0, Step,  "TFormClock.FormCloseQuery")                          \
    X(QuickExit,          "0.001 - 021.",  0, Step,  "TFormClock.QuickExitClick")                          \
    X(ImageYellowClick,   "0.001 - 022.",  0, Step,  "TFormClock.ImageYellowClick (any quick-exit mark)")   \
    X(ClockClose,         "0.001 - 023.",  0, Step,  "TFormClock.FormClose")                               \
    X(TimeMouseDown,      "0.001 - 024.",  1, Step,  "TFormClock time labels: mouse down")                 \
    X(TimeMouseMove,      "0.001 - 025.",  0, Step,  "TFormClock time labels: mouse move")                 \
    X(TimeMouseUp,        "0.001 - 026.",  0, Step,  "TFormClock time labels: mouse up")                   \
    X(ModuleStartup,      "0.001 - 027.",  0, Step,  "module start-up (scratch files)")                    \
    X(TrayMessage,        "0.001 - 028.0", 0, Fixed, "TFormClock message 0x402 (notification-area icon)")  \
    X(MainPoMPopup,       "0.001 - 029.",  0, Step,  "TFormClock.MainPoMPopup")                            \
    X(SoundDiss,          "0.001 - 030.",  0, Step,  "TFormClock.SoundDissClick")                          \
    X(N8,                 "0.001 - 0030.", 0, Step,  "TFormClock.N8Click (restore)")                       \
    X(HelpSec,            "0.001 - 031.",  0, Step,  "TFormClock.HelpSecClick")                            \
    X(NTSetPrivilege,     "0.001 - 031.",  0, Step,  "NTSetPrivilege")                                     \
    X(NillFirst,          "0.001 - 032.",  0, Step,  "TFormClock.NillFirstClick")                          \
    X(PMAM24,             "0.001 - 033.",  0, Step,  "TFormClock.PMAM24Click")                             \
    X(N4,                 "0.001 - 034.0", 0, Fixed, "TFormClock.N4Click (top-left corner)")               \
    X(RgnByMask,          "0.001 - 035.0", 0, Fixed, "TFormClock.RgnByMask")                               \
    X(N6Click,            "0.001 - 036.0", 0, Fixed, "TFormClock.N6Click (stop the reminder sound)")       \
    X(TimerMySndTimer,    "0.001 - 037.0", 0, Fixed, "TFormClock.TimerMySndTimer")                         \
    X(TimerSndPause,      "0.001 - 038.0", 0, Fixed, "TFormClock.TimerSndPauseTimer (ours)")               \
    X(EndSession,         "0.001 - 039.",  0, Step,  "TFormClock end of the Windows session (ours)")        \
    X(KeepOnScreen,       "0.001 - 040.0", 0, Fixed, "TFormClock kept on a monitor (ours)")                 \
    X(ErrTest,            "0.001 - Test",  0, Fixed, "TFormClock.ErrClick (hidden test command)")          \
    /* 002: about */                                                                                       \
    X(AboutOk,            "0.002 - 001.",  0, Step,  "TFormAbout.ButtonOkClick")                           \
    X(AboutClose,         "0.002 - 002.",  0, Step,  "TFormAbout.FormClose")                               \
    X(AboutMail,          "0.002 - 003.",  0, Step,  "TFormAbout.LabelEMailClick")                         \
    X(AboutWeb,           "0.002 - 004.",  0, Step,  "TFormAbout web link click")                          \
    X(AboutCreate,        "0.002 - 005.",  0, Step,  "TFormAbout.FormCreate")                              \
    X(AboutPaint,         "0.002 - 006.",  0, Step,  "TFormAbout.FormPaint")                               \
    X(AboutLinkHover,     "0.002 - 007.",  0, Step,  "TFormAbout pointer over a link")                     \
    X(AboutHover,         "0.002 - 008.",  0, Step,  "TFormAbout pointer over the window")                 \
    /* 003: the first-launch window */                                                                     \
    X(FirstLaunchClose,   "0.003 - 001.",  0, Step,  "TFormFirstLaunch.FormClose")                         \
    X(FirstLaunchOk,      "0.003 - 003.",  0, Step,  "TFormFirstLaunch.ButtonOkClick")                     \
    X(FirstLaunchDestroy, "0.003 - 004.",  0, Step,  "TFormFirstLaunch.FormDestroy")                       \
    X(FirstLaunchCreate,  "0.003 - 005.",  0, Step,  "TFormFirstLaunch.FormCreate")                        \
    /* 004: unsupported system */                                                                          \
    X(NotSupportedCreate, "0.004 - 001.",  0, Step,  "TFormNotSupportedOS.FormCreate")                     \
    X(NotSupportedMail,   "0.004 - 002.",  0, Step,  "TFormNotSupportedOS.LabelEMailClick")                \
    X(NotSupportedWeb,    "0.004 - 003.",  0, Step,  "TFormNotSupportedOS web link click")                 \
    X(NotSupportedOk,     "0.004 - 004.",  0, Step,  "TFormNotSupportedOS.ButtonOkClick")                  \
    X(NotSupportedClose,  "0.004 - 005.",  0, Step,  "TFormNotSupportedOS.FormClose (ours)")               \
    /* 005: splash */                                                                                      \
    X(SplashKey,          "0.005 - 001.",  0, Step,  "TFormSplashScreen.FormKeyDown")                      \
    X(SplashMouse,        "0.005 - 002.",  0, Step,  "TFormSplashScreen mouse down")                       \
    X(SplashTimer,        "0.005 - 003.",  0, Step,  "TFormSplashScreen.Timer1Timer")                      \
    X(SplashClose,        "0.005 - 004.",  0, Step,  "TFormSplashScreen.FormClose")                        \
    X(SplashPaint,        "0.005 - 005.",  0, Step,  "TFormSplashScreen.FormPaint")                        \
    X(SplashCreate,       "0.005 - 006.",  0, Step,  "TFormSplashScreen.FormCreate")                       \
    X(SplashShape,        "0.005 - 007.",  0, Step,  "TFormSplashScreen window shape")                     \
    /* 007: quick exit */                                                                                  \
    X(StoreQSDDefaults,   "0.007 - 001.",  0, Step,  "StoreQSDDefaults")                                   \
    X(CalcQSDTimer,       "0.007 - 002.",  0, Step,  "CalcQSDTimer")                                       \
    X(CalcQSDTime,        "0.007 - 003.",  0, Step,  "CalcQSDTime")                                        \
    X(StartQSD,           "0.007 - 004.",  0, Step,  "StartQSD")                                           \
    X(QSDFinalAction,     "0.007 - 005.",  0, Step,  "QSDFinalAction")                                     \
    X(QSDStartStop,       "0.007 - 006.",  0, Step,  "TFormQuickShutDown.Button1Click (start or stop)")    \
    X(ShowQSDIdleIcon,    "0.007 - 007.",  0, Step,  "ShowQSDIdleIcon")                                    \
    X(QSDPause,           "0.007 - 008.",  0, Step,  "TFormQuickShutDown.Button3Click (PauseQSD / ResumeQSD)")\
    X(UpdateQSDStatus,    "0.007 - 009.",  1, Step,  "UpdateQSDStatus")                                    \
    X(QSDClose,           "0.007 - 010.",  0, Step,  "TFormQuickShutDown.FormClose")                       \
    X(QSDDestroy,         "0.007 - 011.",  0, Step,  "TFormQuickShutDown.FormDestroy")                     \
    X(QSDCloseButton,     "0.007 - 012.",  0, Step,  "TFormQuickShutDown.Button2Click")                    \
    X(QSDKeyPress,        "0.007 - 013.",  0, Step,  "TFormQuickShutDown.ComboBoxKeyPress")                \
    X(QSDCreate,          "0.007 - 014.",  0, Step,  "TFormQuickShutDown.FormCreate")                      \
    X(QSDPaint,           "0.007 - 015.",  0, Step,  "TFormQuickShutDown.FormPaint")                       \
    X(QSDTimeMode,        "0.007 - 016.",  0, Step,  "TFormQuickShutDown.ComboBox2Change")                 \
    X(QSDLoadDefaults,    "0.007 - 017.",  0, Step,  "TFormQuickShutDown.Button4Click (load defaults)")    \
    X(QSDSaveDefaults,    "0.007 - 018.",  0, Step,  "TFormQuickShutDown.Button5Click (save defaults)")    \
    X(QSDChoice,          "0.007 - 020.",  0, Step,  "TFormQuickShutDown.FrameTimeSet1EditHChange")        \
    X(QSDHelp,            "0.007 - 021.",  0, Step,  "TFormQuickShutDown.BitBtn1Click (help)")             \
    X(SuspendSystem,      "0.007 - 021.",  0, Step,  "SuspendSystem")                                      \
    X(CheckMissed,        "0.007 - 022.",  0, Step,  "CheckMissed: woken or clock set after the firing time (ours)")\
    /* 009: the quick exit's warning */                                                                    \
    X(WarnText,           "0.009 - 001.",  0, Step,  "UpdateWarningText")                                  \
    X(WarnOk,             "0.009 - 002.",  0, Step,  "TFormQSDWarDlg.Button2Click (Ok)")                   \
    X(WarnOpenWindow,     "0.009 - 003.",  0, Step,  "OpenQuickShutDownWindow (from the warning)")         \
    X(WarnClose,          "0.009 - 004.",  0, Step,  "TFormQSDWarDlg.FormClose")                           \
    X(WarnChange,         "0.009 - 005.",  0, Step,  "TFormQSDWarDlg.Button1Click (change settings)")      \
    X(WarnCreate,         "0.009 - 006.",  0, Step,  "TFormQSDWarDlg.FormCreate")                          \
    X(WarnDestroy,        "0.009 - 007.",  0, Step,  "TFormQSDWarDlg.FormDestroy")                         \
    X(WarnHelp,           "0.009 - 008.",  0, Step,  "TFormQSDWarDlg.BitBtn1Click (help)")                 \
    /* 011: sound */                                                                                       \
    X(PlayChimeSound,     "0.011 - 025.",  0, Step,  "PlayChimeSound")                                     \
    X(PlayVoiceNumber,    "0.011 - 031.",  0, Step,  "PlayVoiceNumber")                                    \
    X(PlayVoiceWord,      "0.011 - 032.",  0, Step,  "PlayVoiceWord")                                      \
    X(SpeakTime,          "0.011 - 033.",  0, Step,  "SpeakTime")                                          \
    X(VoiceIsComplete,    "0.011 - 037.",  0, Step,  "VoiceIsComplete")                                    \
    /* 011: the settings window */                                                                         \
    X(SettingsClockFont,  "0.011 - 001.",  0, Step,  "TFormSettings.ApplyClockFont")                       \
    X(SettingsFontButton, "0.011 - 002.",  0, Step,  "TFormSettings.ButtonSetFontClick")                   \
    X(SettingsFontApply,  "0.011 - 003.",  0, Step,  "TFormSettings.SetFontApply")                         \
    X(SettingsOk,         "0.011 - 004.",  0, Step,  "TFormSettings.ButtonOkClick")                        \
    X(SettingsCancel,     "0.011 - 005.",  0, Step,  "TFormSettings.ButtonCancelClick")                    \
    X(SettingsClose,      "0.011 - 006.",  0, Step,  "TFormSettings.FormClose")                            \
    X(SettingsSaveBackUp, "0.011 - 007.",  0, Step,  "TFormSettings.ButtonSaveBackUpClick")                \
    X(SettingsLoadBackUp, "0.011 - 008.",  0, Step,  "TFormSettings.ButtonLoadBackUpClick")                \
    X(SettingsSaveName,   "0.011 - 009.",  0, Step,  "TFormSettings.SaveDialogBUCanClose")                 \
    X(SettingsCreate,     "0.011 - 010.",  0, Step,  "TFormSettings.FormCreate")                           \
    X(SettingsAlphaSlider, "0.011 - 011.",  0, Step,  "TFormSettings.TrackBar4Change")                     \
    X(SettingsGreenMark,  "0.011 - 013.",  0, Step,  "TFormSettings.CheckBox1Click (quick-exit mark)")     \
    X(SettingsItemQE,     "0.011 - 014.",  0, Step,  "TFormSettings.CheckBoxQEClick")                      \
    X(SettingsItemST,     "0.011 - 015.",  0, Step,  "TFormSettings.CheckBoxSTClick")                      \
    X(SettingsAlphaUsed,  "0.011 - 017.",  0, Step,  "TFormSettings.CheckBox10Click (transparency)")       \
    X(SettingsAutoLaunch, "0.011 - 018.",  0, Step,  "TFormSettings.ComboBox1Change (start at log-on)")    \
    X(SettingsQuietFrom,  "0.011 - 019.",  0, Step,  "TFormSettings.ComboBox2Change")                      \
    X(SettingsQuietTo,    "0.011 - 020.",  0, Step,  "TFormSettings.ComboBox3Change")                      \
    X(SettingsQuietHours, "0.011 - 021.",  0, Step,  "TFormSettings.CheckBox9Click")                       \
    X(SettingsChime,      "0.011 - 022.",  0, Step,  "TFormSettings.CheckBoxSoundHClick")                  \
    X(SettingsChimeHalf,  "0.011 - 023.",  0, Step,  "TFormSettings.CheckBoxSoundH05Click")                \
    X(SettingsChimeSound, "0.011 - 024.",  0, Step,  "TFormSettings.ComboBoxSoundHChange")                 \
    X(SettingsChimeTest,  "0.011 - 026.",  0, Step,  "TFormSettings.SpeedButtonSoundHClick")               \
    X(SettingsVoice,      "0.011 - 027.",  0, Step,  "TFormSettings.CheckBoxTimeVoiceClick")               \
    X(SettingsVoiceHalf,  "0.011 - 028.",  0, Step,  "TFormSettings.CheckBoxTVoice05Click")                \
    X(SettingsVoiceChoice, "0.011 - 029.",  0, Step,  "TFormSettings.ComboBoxChangeVoiceChange")           \
    X(SettingsHotKeys,    "0.011 - 030.",  0, Step,  "TFormSettings.CheckBoxGlobalHKClick")                \
    X(SettingsVoiceTest,  "0.011 - 034.",  0, Step,  "TFormSettings.SpeedButtonVoiceClick")                \
    X(SettingsColour,     "0.011 - 035.",  0, Step,  "TFormSettings.Panel11Click (colour)")                \
    X(SettingsFontClose,  "0.011 - 036.",  0, Step,  "TFormSettings.SetFontClose")                         \
    X(SettingsRemindAdd,  "0.011 - 037.",  0, Step,  "TFormSettings.Button4Click (add a reminder)")        \
    X(SettingsRemindEdit, "0.011 - 038.",  0, Step,  "TFormSettings.Button2Click (edit the reminder)")     \
    X(SettingsRemindDelete, "0.011 - 039.",  0, Step,  "TFormSettings.Button3Click (delete the reminder)") \
    X(SettingsRemindChecks, "0.011 - 039.",  0, Step,  "TFormSettings.CheckListBox1ClickCheck")            \
    X(SettingsHelpReminders, "0.011 - 040.",  0, Step,  "TFormSettings.BitBtn4Click (help)")               \
    X(SettingsHelpSounds, "0.011 - 041.",  0, Step,  "TFormSettings.BitBtn3Click (help)")                  \
    X(SettingsHelpInterface, "0.011 - 042.",  0, Step,  "TFormSettings.BitBtn2Click (help)")               \
    X(SettingsHelpGeneral, "0.011 - 043.",  0, Step,  "TFormSettings.BitBtn1Click (help)")                 \
    X(SettingsRemindDblClick, "0.011 - 044.",  0, Step,  "TFormSettings.CheckListBox1DblClick")            \
    X(SettingsListMouseUp, "0.011 - 045.",  0, Step,  "TFormSettings.CheckListBox1MouseUp")                \
    /* 013: registry */                                                                                    \
    X(StoreLastBackUp,    "0.013 - 001.",  0, Step,  "StoreLastBackUp")                                    \
    X(ApplyAutoStart,     "0.013 - 004.",  0, Step,  "ApplyAutoStart (only when its fall-back fails)")     \
    X(StoreSettings,      "0.013 - 005.",  0, Step,  "StoreSettings")                                      \
    X(LoadSettings,       "0.013 - 006.",  0, Step,  "LoadSettings")                                       \
    X(AddRemind,          "0.013 - 007.",  Keep, Step, "AddRemind")                                        \
    X(ListReminds,        "0.013 - 008.",  Keep, Step, "ListReminds")                                      \
    X(FindRemind,         "0.013 - 009.",  0, Step,  "FindRemind")                                         \
    X(UpdateRemind,       "0.013 - 010.",  Keep, Step, "UpdateRemind")                                     \
    X(DeleteRemind,       "0.013 - 011.",  Keep, Step, "DeleteRemind")                                     \
    X(RemindTimeFree,     "0.013 - 012.",  0, Step,  "RemindTimeFree")                                     \
    X(LoadRemindToEditor, "0.013 - 013.",  0, Step,  "LoadRemindToEditor")                                 \
    X(StoreRemindChecks,  "0.013 - 014.",  0, Step,  "StoreRemindChecks")                                  \
    X(FindNextRemind,     "0.013 - 015.",  0, Step,  "FindNextRemind")                                     \
    X(FireRemind,         "0.013 - 016.",  0, Step,  "FireRemind")                                         \
    /* 018: the time-entry frame */                                                                        \
    X(TimeSetKeyPress,    "0.018 - 001.",  0, Step,  "TFrameTimeSet.EditHKeyPress")                        \
    /* 019: the reminder editor */                                                                      \
    X(SignClose,          "0.019 - 001.",  0, Step,  "TFormSign.FormClose")                                \
    X(SignCreate,         "0.019 - 002.",  0, Step,  "TFormSign.FormCreate")                               \
    X(SignMessageBox,     "0.0.019 - 003.", 0, Step, "TFormSign.CheckBox2Click (show a message)")          \
    X(SignVoiceBox,       "0.019 - 004.",  0, Step,  "TFormSign.CheckBox5Click (by voice)")                \
    X(SignSoundBox,       "0.019 - 005.",  0, Step,  "TFormSign.CheckBox6Click (by sound)")                \
    X(SignOk,             "0.019 - 006.",  0, Step,  "TFormSign.Button1Click (Ok)")                        \
    X(SignCancel,         "0.019 - 007.",  0, Step,  "TFormSign.Button2Click (cancel)")                    \
    X(SignPreview,        "0.019 - 008.",  0, Step,  "TFormSign.SpeedButton1Click (voice or sound preview)")\
    X(SignSoundList,      "0.019 - 009.",  0, Step,  "TFormSign.ComboBox6Change")                          \
    X(SignVoiceList,      "0.019 - 010.",  0, Step,  "TFormSign.ComboBox7Change")                          \
    X(SignHourKey,        "0.019 - 011.",  0, Step,  "TFormSign.FrameTimeSet1EditHKeyPress")               \
    X(SignPaint,          "0.019 - 012.",  0, Step,  "TFormSign.FormPaint")                                \
    X(SignFileBox,        "0.019 - 013.",  0, Step,  "TFormSign.CheckBox7Click (play a sound file)")       \
    X(SignFileChosen,     "0.019 - 014.",  0, Step,  "TFormSign.OpenDialogBUCanClose")                     \
    X(SignHelp,           "0.019 - 015.",  0, Step,  "TFormSign.BitBtn1Click (help)")                      \
    X(SignBrowse,         "0.019 - 016.",  0, Step,  "TFormSign.Button6Click (browse)")                    \
    X(SignRecorder,       "0.019 - 018.",  0, Step,  "TFormSign.Button5Click (sound recorder)")            \
    X(SignPlayFile,       "0.019 - 019.",  0, Step,  "TFormSign.SpeedButton2Click (play the file)")        \
    X(SignStopFile,       "0.019 - 020.",  0, Step,  "TFormSign.SpeedButton3Click (stop the file)")        \
    X(SignPageChange,     "0.019 - 021.",  0, Step,  "TFormSign.PageControl1Change")                       \
    X(SignTimer,          "0.019 - 023.",  0, Step,  "TFormSign.Timer1Timer (the file preview's poll)")    \
    /* 033: the message editor */                                                                      \
    X(AddMsgClose,        "0.033 - 001.",  0, Step,  "TFormAddMsg.FormClose")                              \
    X(AddMsgOk,           "0.033 - 002.",  0, Step,  "TFormAddMsg.Button2Click (Ok)")                      \
    X(AddMsgPreview,      "0.033 - 003.",  0, Step,  "TFormAddMsg.Button1Click (preview)")                 \
    X(AddMsgCreate,       "0.033 - 004.",  0, Step,  "TFormAddMsg.FormCreate")                             \
    X(AddMsgCancel,       "0.033 - 008.",  0, Step,  "TFormAddMsg.Button3Click (cancel)")                  \
    X(AddMsgHelp,         "0.033 - 009.",  0, Step,  "TFormAddMsg.BitBtn1Click (help)")                    \
    /* 054: the error window */                                                                            \
    X(UserName,           "0.054 - 001.",  0, Step,  "user name of the error record")                      \
    X(ErrorCloseProgram,  "0.054 - 002.",  0, Step,  "TFormError.Button2Click (close the program)")       \
    X(ErrorRestart,       "0.054 - 003.",  0, Step,  "TFormError.Button1Click (restart)")                  \
    X(ErrorIgnore,        "0.054 - 004.",  0, Step,  "TFormError.Button3Click (ignore)")                   \
    X(ErrorClose,         "0.054 - 005.",  0, Step,  "TFormError.FormClose")                               \
    X(ErrorCreate,        "0.054 - 006.",  0, Step,  "TFormError.FormCreate")                              \
    X(ErrorReport,        "0.054 - 007.",  0, Step,  "TFormError.Button4Click (report by mail)")           \
    X(ErrorHelp,          "0.054 - 008.",  0, Step,  "TFormError.BitBtn1Click (help)")                     \
    X(ComputerName,       "0.054 - 008.",  0, Step,  "computer name of the error record")                 \
    /* 012: backup file */                                                                                 \
    X(ReadBackUpFile,     "0.012 - 001.",  1, Step,  "ReadBackUpFile")                                     \
    X(WriteBackUpFile,    "0.012 - 002.",  1, Step,  "WriteBackUpFile")
// clang-format on

namespace code {
#define LUMIVO_DEFINE_CODE(name, prefix, first, append, routine) \
    inline constexpr Code name{prefix, first, append, routine};
LUMIVO_ERROR_CODES(LUMIVO_DEFINE_CODE)
#undef LUMIVO_DEFINE_CODE
}  // namespace code

// Every code above, in order.
std::span<const Code* const> allCodes();
// The codes the design gives to two routines at once (each pair is listed
// where the second routine is built): one serves both.
std::span<const char* const> sharedCodes();

}  // namespace errors

; Lumivo for the current user: no administrator rights, into %LOCALAPPDATA%\Programs\Lumivo,
; with a Start-menu shortcut and an entry in the user's list of installed programs.
; Built by scripts/release.sh, which passes:
;   GENERATED  the build's generated folder (Version.nsh)
;   STAGE      the folder with install.nsh and uninstall.nsh, the lists of the shipped files
;   OUTFILE    the installer to write
;   ICON       the program's icon

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; A file that cannot be written (the program still running) stops the installation
; rather than being skipped: a silent run must not report a half-updated folder as done.
AllowSkipFiles off

!include "${GENERATED}/Version.nsh"
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Vantrel\Lumivo"
; The clock window's class: one window of it per running copy, whatever its caption.
!define CLOCK_CLASS "TFormClock"

Name "Lumivo"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Lumivo"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Lumivo ${LUMIVO_VERSION_TEXT}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${LUMIVO_FILE_VERSION}"
VIFileVersion "${LUMIVO_FILE_VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Эта программа установит Lumivo ${LUMIVO_VERSION_TEXT}, часы на рабочем столе, только для вашей учётной записи: права администратора не нужны.$\r$\n$\r$\nЕсли программа Lumivo уже запущена, установка предложит закрыть её.$\r$\n$\r$\nНажмите «Далее», чтобы продолжить."
!define MUI_FINISHPAGE_RUN "$INSTDIR\Lumivo.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Запустить Lumivo"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "Lumivo"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "Vantrel"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка Lumivo"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${LUMIVO_FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${LUMIVO_VERSION_TEXT}.${LUMIVO_VERSION_NAME}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "© Vantrel"

; A running clock holds its file open. It is asked to close as the user would close it
; (its close may ask whether to stop a running quick exit); if it stays, or its file
; stays busy, the user is told what to do and may try again or give up, before anything
; has been changed. Silent runs close it without asking and give up when it stays.
!macro CLOSE_RUNNING_CLOCK un
Function ${un}CloseRunningClock
    FindWindow $0 "${CLOCK_CLASS}"
    IntCmp $0 0 free
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Программа Lumivo сейчас запущена. Чтобы продолжить, её нужно закрыть.$\n$\nНажмите «ОК», чтобы закрыть её, или «Отмена», чтобы прервать." /SD IDOK IDOK close
    Abort "Отменено: программа Lumivo не закрыта."
close:
    DetailPrint "Закрывается запущенная программа Lumivo..."
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    StrCpy $1 0
wait:
    Sleep 250
    FindWindow $0 "${CLOCK_CLASS}"
    IntCmp $0 0 free
    IntOp $1 $1 + 1
    IntCmp $1 40 0 wait 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Программа Lumivo не закрылась. Возможно, она ждёт ответа на свой вопрос.$\n$\nОтветьте на него или закройте программу сами (пункт «Закрыть» в её меню) и нажмите «Повтор»." /SD IDCANCEL IDRETRY close
    Abort "Отменено: программа Lumivo не закрылась."
free:
    ; The process ends a moment after its window; its file is free once it opens for writing.
    StrCpy $1 0
again:
    IfFileExists "$INSTDIR\Lumivo.exe" 0 done
    ClearErrors
    FileOpen $2 "$INSTDIR\Lumivo.exe" a
    IfErrors busy
    FileClose $2
    Goto done
busy:
    Sleep 250
    IntOp $1 $1 + 1
    IntCmp $1 40 0 again 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Файл программы занят:$\n$INSTDIR\Lumivo.exe$\n$\nВозможно, Lumivo ещё закрывается. Подождите немного и нажмите «Повтор»." /SD IDCANCEL IDRETRY free
    Abort "Отменено: файл программы Lumivo занят."
done:
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_CLOCK ""
!insertmacro CLOSE_RUNNING_CLOCK "un."

Section
    SetShellVarContext current
    Call CloseRunningClock
    !include "${STAGE}/install.nsh"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Lumivo.lnk" "$INSTDIR\Lumivo.exe" "" "$INSTDIR\Lumivo.exe" 0 SW_SHOWNORMAL "" "Часы на рабочем столе"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Lumivo"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${LUMIVO_VERSION_TEXT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Vantrel"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lumivo.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Leaves 1 in $0 when the start-up command on the stack starts this folder's Lumivo.exe
; (quoted or not, by its long or short name), else 0. A value that starts another copy
; of the program, unpacked elsewhere, is that copy's.
Function un.IsThisProgram
    Exch $1
    Push $2
    Push $3
    StrCpy $0 0
    StrCpy $2 $1 1
    ${If} $2 == '"'
        StrCpy $1 $1 "" 1
        StrCpy $2 0
        ${Do}
            StrCpy $3 $1 1 $2
            ${IfThen} $3 == "" ${|} ${Break} ${|}
            ${IfThen} $3 == '"' ${|} ${Break} ${|}
            IntOp $2 $2 + 1
        ${Loop}
        StrCpy $1 $1 $2
    ${EndIf}
    ${If} $1 == "$INSTDIR\Lumivo.exe"
        StrCpy $0 1
    ${ElseIf} $1 != ""
        GetFullPathName /SHORT $2 $1
        GetFullPathName /SHORT $3 "$INSTDIR\Lumivo.exe"
        ${If} $2 != ""
        ${AndIf} $2 == $3
            StrCpy $0 1
        ${EndIf}
    ${EndIf}
    Pop $3
    Pop $2
    Pop $1
FunctionEnd

; This user's start-up value goes. The all-users one (written when the user chose
; start-up for all users) can be removed only with administrator rights; when it
; stays, the user is told exactly what remains, for it would name a missing file.
Function un.RemoveStartUp
    ReadRegStr $1 HKCU "${RUN_KEY}" "Lumivo"
    Push $1
    Call un.IsThisProgram
    ${If} $0 = 1
        DeleteRegValue HKCU "${RUN_KEY}" "Lumivo"
        DetailPrint "Удалена автозагрузка Lumivo для этого пользователя."
    ${EndIf}
    ReadRegStr $1 HKLM "${RUN_KEY}" "Lumivo"
    Push $1
    Call un.IsThisProgram
    ${If} $0 = 1
        DeleteRegValue HKLM "${RUN_KEY}" "Lumivo"
        ClearErrors
        ReadRegStr $1 HKLM "${RUN_KEY}" "Lumivo"
        ${If} ${Errors}
            DetailPrint "Удалена автозагрузка Lumivo для всех пользователей."
        ${Else}
            DetailPrint "Осталась автозагрузка Lumivo для всех пользователей: HKEY_LOCAL_MACHINE\${RUN_KEY}, значение «Lumivo»."
            MessageBox MB_OK|MB_ICONEXCLAMATION "Lumivo запускается при входе в Windows для всех пользователей, а эту настройку может убрать только администратор.$\n$\nПопросите администратора удалить в реестре значение «Lumivo» из раздела$\nHKEY_LOCAL_MACHINE\${RUN_KEY}$\n$\nПока оно есть, при входе в Windows будет появляться сообщение, что файл программы не найден." /SD IDOK
        ${EndIf}
    ${EndIf}
FunctionEnd

Section "Uninstall"
    SetShellVarContext current
    Call un.CloseRunningClock
    Call un.RemoveStartUp

    !include "${STAGE}/uninstall.nsh"
    ; Scratch files the program leaves only when it was ended abruptly.
    Delete "$INSTDIR\TempFiles\Tmp1"
    Delete "$INSTDIR\TempFiles\Tmp2"
    Delete "$INSTDIR\TempFiles\Tmp3"
    RMDir "$INSTDIR\TempFiles"
    Delete "$INSTDIR\Uninstall.exe"
    Delete "$SMPROGRAMS\Lumivo.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"

    ; Settings, reminders and the user's own files in the program folder stay unless
    ; the user says otherwise (and always in a silent run): a reinstall finds them again.
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Удалить также ваши настройки и напоминания Lumivo?$\n$\nВместе с ними будут удалены резервные копии настроек (папка «BackUp») и журнал ошибок (папка «Error») из папки программы.$\n$\nНажмите «Нет», чтобы сохранить их для следующей установки." /SD IDNO IDNO keep
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Vantrel"
    RMDir /r "$INSTDIR\BackUp"
    RMDir /r "$INSTDIR\Error"
    DetailPrint "Удалены настройки, напоминания, резервные копии и журнал ошибок."
keep:
    RMDir "$INSTDIR"
    ${If} ${FileExists} "$INSTDIR\*.*"
        DetailPrint "Оставлена папка $INSTDIR: в ней ваши файлы."
        MessageBox MB_OK|MB_ICONINFORMATION "Папка программы оставлена, потому что в ней есть ваши файлы (резервные копии настроек, журнал ошибок):$\n$INSTDIR" /SD IDOK
    ${EndIf}
SectionEnd

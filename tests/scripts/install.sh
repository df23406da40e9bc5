#!/usr/bin/env bash
# The installer end to end under Wine, in a fresh prefix: a silent install for the
# current user, the clock started from where it went, an update over the running
# clock, and a silent uninstall that closes it. Usage: install.sh [BUILD_DIR]
# (the Windows build folder holding e2e/driver.exe; scripts/release.sh makes the
# installer first). Ends with one line: "install: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build/windows}" && pwd) || exit 1
version=$(sed -n 's/^!define LUMIVO_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/Version.nsh" 2>/dev/null)
setup=$root/dist/Lumivo-$version-setup.exe
driver=$build/e2e/driver.exe
shipped=$build/release/Lumivo
if [[ -z $version || ! -f $setup || ! -f $driver || ! -d $shipped ]]; then
    echo "install: needs $setup, $shipped and $driver (scripts/release.sh, the Windows build)" >&2
    echo "install: 0 passed, 1 failed"
    exit 1
fi

# shellcheck source=tests/scripts/checks.sh
source "$root/tests/scripts/checks.sh"

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
export LUMIVO_WINE_QUIET=1
wine_env_setup || exit 1
work=$WINE_ENV_DIR
# A running server makes each program start in a twentieth of a second.
timeout 5 wineserver -p 900 >/dev/null 2>&1 </dev/null || true

user=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public -printf '%f\n' | head -n 1)
dir=$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Lumivo
dir_win="C:\\users\\$user\\AppData\\Local\\Programs\\Lumivo"
exe_win="$dir_win\\Lumivo.exe"
shortcut="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Lumivo.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivo'
run_key='Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\Vantrel\Lumivo'
# Another copy of the program, unpacked elsewhere, that starts for all users.
other_exe='C:\Portable\Lumivo\Lumivo.exe'
backup="BackUp/Мои настройки.SetLMV"

drive() { wine_run --timeout 60 --out "$work/driver.out" -- "$driver" "$@"; }
# A registry value's data (REG_DWORD as 0x...), or failure when it is absent.
reg_get() {
    wine_run --timeout 30 --out "$work/reg.out" -- reg query "$1" /v "$2" || return 1
    sed -n "s/^ *$2 \{2,\}REG_[A-Z_]* \{2,\}\(.*\)\$/\1/p" "$work/reg.out" | tr -d '\r' | grep .
}
reg_is() {
    local got
    got=$(reg_get "$1" "$2")
    [[ $got == "$3" ]] || { echo "  $1 $2: '$got', expected '$3'"; return 1; }
}
reg_absent() {
    ! reg_get "$1" "$2" >/dev/null || { echo "  $1 $2 is still there"; return 1; }
}
# Starts the installed clock and waits for its window.
start_clock() {
    wine_run --bg --timeout 300 --out "$work/clock.out" --err "$work/clock.err" -- "$exe_win"
    drive wait TFormClock Lumivo 30000 >/dev/null
}

# ---- install ---------------------------------------------------------------------------
check "the installer asks for no administrator rights" grep -aq 'requestedExecutionLevel level="asInvoker"' "$setup"
check "a silent install succeeds" wine_run --timeout 120 -- "$setup" /S

installed_all() {
    local rel bad=0
    while IFS= read -r rel; do
        [[ -n $rel ]] || continue
        cmp -s "$shipped/$rel" "$dir/$rel" || { echo "  not installed: $rel"; bad=1; }
    done <"$build/dist-files.txt"
    [[ -f $dir/Uninstall.exe ]] || { echo "  no Uninstall.exe"; bad=1; }
    return $bad
}
check "every shipped file is in %LOCALAPPDATA%\\Programs\\Lumivo" installed_all
check "the Start-menu shortcut is this user's" test -f "$shortcut"

nothing_for_all_users() {
    local found
    found=$(find "$WINEPREFIX/drive_c/ProgramData" "$WINEPREFIX/drive_c/Program Files" \
        "$WINEPREFIX/drive_c/Program Files (x86)" -iname '*lumivo*' 2>/dev/null)
    [[ -z $found ]] || { echo "  $found"; return 1; }
    wine_run --timeout 60 -- reg export HKLM 'C:\hklm.reg' /y || return 1
    found=$(iconv -f UTF-16LE -t UTF-8 "$WINEPREFIX/drive_c/hklm.reg" | grep -i lumivo)
    [[ -z $found ]] || { echo "  HKLM: $found"; return 1; }
}
check "nothing is written for all users (files, HKLM)" nothing_for_all_users

uninstall_entry() {
    wine_run --timeout 30 --out "$work/entry.out" -- reg query "$uninstall_key" || return 1
    local want got bad=0 name value
    want=(DisplayName=Lumivo "DisplayVersion=$version" Publisher=Vantrel "InstallLocation=$dir_win"
        "DisplayIcon=$exe_win,0" "UninstallString=\"$dir_win\\Uninstall.exe\""
        "QuietUninstallString=\"$dir_win\\Uninstall.exe\" /S" NoModify=0x1 NoRepair=0x1)
    for value in "${want[@]}"; do
        name=${value%%=*}
        got=$(sed -n "s/^ *$name \{2,\}REG_[A-Z_]* \{2,\}\(.*\)\$/\1/p" "$work/entry.out" | tr -d '\r')
        [[ $got == "${value#*=}" ]] || { echo "  $name: '$got', expected '${value#*=}'"; bad=1; }
    done
    got=$(sed -n 's/^ *EstimatedSize \{2,\}REG_DWORD \{2,\}//p' "$work/entry.out" | tr -d '\r')
    ((${got:-0} > 500)) || { echo "  EstimatedSize: '$got' KB"; bad=1; }
    return $bad
}
check "the uninstaller is in this user's list of programs, with the version" uninstall_entry

# ---- the installed clock ---------------------------------------------------------------
runs_from_install() {
    # Not a first run: the first-launch window would stand in the way of the clock's commands.
    wine_run -- reg add "$settings_key\\Settings" /v AlphaSet /t REG_DWORD /d 255 /f
    start_clock || return 1
    local i
    for ((i = 0; i < 50; i++)); do
        reg_get "$settings_key" ExePatch >/dev/null && break
        sleep 0.2
    done
    reg_is "$settings_key" ExePatch "$exe_win" && reg_is "$settings_key" Version "$version"
}
check "the clock runs from the installed file (ExePatch, Version)" runs_from_install
# The marker ships in the zip only: the installed copy keeps to the registry.
check "the installed copy has no portable marker and writes no Lumivo.ini" \
    test ! -e "$dir/Portable.txt" -a ! -e "$dir/Lumivo.ini"

# What a user has by now: start-up for this user, a backup file of their own.
wine_run -- reg add "HKCU\\$run_key" /v Lumivo /d "$exe_win" /f
wine_run -- reg add "HKLM\\$run_key" /v Lumivo /d "$other_exe" /f
mkdir -p "$dir/BackUp" && echo "[Main]" >"$dir/$backup"

# A clock counting down to a shutdown asks before it closes; the installer abides by the answer.
qsd=(TFormQuickShutDown "Быстрый выход")
start_countdown() {
    drive command TFormClock Lumivo 110 && drive wait "${qsd[@]}" 10000 >/dev/null &&
        drive select "${qsd[@]}" 0 0 && drive select "${qsd[@]}" 1 0 &&
        drive settext "${qsd[@]}" 0 1 && drive settext "${qsd[@]}" 1 0 && drive click "${qsd[@]}" "Зап&уск"
}
# Runs the installer silently while answering the clock's question with $1 (6 yes, 7 no);
# leaves the installer's exit code in $setup_rc.
setup_answering() {
    wine_run --bg --timeout 120 --out "$work/setup.out" -- "$setup" /S
    local pid=$WINE_RUN_PID asked=0
    drive wait '#32770' 'Предупреждение...' 15000 >/dev/null && drive command '#32770' 'Предупреждение...' "$1" && asked=1
    setup_rc=0
    wait "$pid" || setup_rc=$?
    ((asked)) || { echo "  the clock did not ask"; return 1; }
}
kept_running() {
    start_countdown || { echo "  no countdown"; return 1; }
    setup_answering 7 || return 1
    [[ $setup_rc == 2 ]] || { echo "  the installer ended with $setup_rc"; return 1; }
    drive info TFormClock Lumivo >/dev/null || { echo "  the clock is gone"; return 1; }
}
check "a clock kept running by its user stops the update (exit code 2)" kept_running

update_over_running() {
    setup_answering 6 || return 1
    [[ $setup_rc == 0 ]] || { echo "  the installer ended with $setup_rc"; return 1; }
    drive gone TFormClock '*' 5000 || { echo "  the clock still runs"; return 1; }
    cmp -s "$shipped/Lumivo.exe" "$dir/Lumivo.exe" && [[ -f $dir/$backup ]]
}
check "a clock the user lets go is closed, updated, the user's files kept" update_over_running
check "the clock starts again after the update" start_clock

# ---- uninstall -------------------------------------------------------------------------
# _?= keeps the uninstaller in place, so that its end is the end of the run.
check "a silent uninstall succeeds while the clock runs" \
    wine_run --timeout 120 -- "$dir_win\\Uninstall.exe" /S "_?=$dir_win"
check "the uninstaller closed the clock" drive gone TFormClock '*' 5000

only_user_files_left() {
    local left
    left=$(cd "$dir" && find . -mindepth 1 ! -name Uninstall.exe | LC_ALL=C sort | tr '\n' ' ')
    [[ $left == "./BackUp ./$backup " ]] || { echo "  left: $left"; return 1; }
    [[ ! -e $shortcut ]] || { echo "  the shortcut is still there"; return 1; }
}
check "the program's files and shortcut are gone, the user's backup file kept" only_user_files_left
check "this user's start-up value is removed" reg_absent "HKCU\\$run_key" Lumivo
check "another copy's start-up value is kept" reg_is "HKLM\\$run_key" Lumivo "$other_exe"
check "the uninstall entry is removed" reg_absent "$uninstall_key" DisplayName
check "a silent uninstall keeps the settings" reg_is "$settings_key" Version "$version"

echo "install: $passed passed, $failed failed"
[[ $failed == 0 ]]

#!/usr/bin/env bash
# Idle cost of the clock against the benchmark's floor (tests/bench/floor.cpp), all
# under Wine in one run, Lumivo three times (idle; with a quick exit counting down; with
# 50 stored reminders over a period that holds a minute 00, when the next one is sought):
# "floor" is an empty window with a 50 ms timer, "floor clock"
# adds the notification-area icon, the key polls and the time text. For each: time
# until the window exists, CPU time over a steady period after start-up (the program
# and the wineserver), peak private memory (written pages) and peak unique memory
# (every page no other process maps).
# Usage: scripts/bench-idle.sh [--breakdown] [SECONDS]   (default 60; needs a Windows build)
#   --breakdown  also where each program's private memory goes, by kind of mapping,
#                at the end of its period (tests/bench/smaps-breakdown.py)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
breakdown=0
if [[ ${1:-} == --breakdown ]]; then
    breakdown=1
    shift
fi
seconds=${1:-60}
build=$root/build/windows
driver=$build/e2e/driver.exe
floor=$build/bench/floor.exe
for f in "$driver" "$floor" "$root/dist/Lumivo/Lumivo.exe"; do
    [[ -f $f ]] || { echo "bench-idle: $f is missing (cmake --build --preset windows)" >&2; exit 1; }
done
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
export LUMIVO_WINE_QUIET=1
wine_env_setup || exit 1
timeout 5 wineserver -p 900 >/dev/null 2>&1 </dev/null || true
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
tick=$(getconf CLK_TCK)

cpu_ticks() { [[ -n $1 && -r /proc/$1/stat ]] && awk '{print $14 + $15}' "/proc/$1/stat" || echo 0; }
# Written pages only, as Windows counts private bytes: clean pages of the exe and the
# DLLs are file-backed and shared in spirit even when no other process maps them.
private_kb() { [[ -n $1 && -r /proc/$1/smaps_rollup ]] && awk '/^(Private_Dirty|Swap):/ {s += $2} END {print s + 0}' "/proc/$1/smaps_rollup" || echo 0; }
unique_kb() { [[ -n $1 && -r /proc/$1/smaps_rollup ]] && awk '/^Private_(Clean|Dirty):/ {s += $2} END {print s + 0}' "/proc/$1/smaps_rollup" || echo 0; }
# The server of this run's prefix works in a folder named after the prefix's device and
# inode (Debian names the program wineserver64); other prefixes' servers may be running.
server_pid() {
    local want p
    want=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
    for p in $(pgrep -u "$(id -u)" wineserver); do
        [[ $(readlink "/proc/$p/cwd") == */"$want" ]] && echo "$p" && return
    done
}

# program_pid TAIL RUNNER: the Wine process of this run's prefix whose command line ends
# with TAIL, other than RUNNER (its timeout, whose command line ends the same way).
# Other people's runs of the same programs may be going on meanwhile.
program_pid() {
    local p
    for p in $(pgrep -f "$1\$"); do
        [[ $p != "$2" ]] && tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            echo "$p" && return
    done
}

# Starts a 23:59 countdown from the quick-exit window, as a user would.
start_quick_exit() {
    local qsd=(TFormQuickShutDown "Быстрый выход")
    timeout 30 wine "$driver" command TFormClock Lumivo 110 >/dev/null 2>&1 </dev/null
    timeout 30 wine "$driver" wait "${qsd[@]}" 10000 >/dev/null 2>&1 </dev/null
    timeout 30 wine "$driver" settext "${qsd[@]}" 0 23 >/dev/null 2>&1 </dev/null
    timeout 30 wine "$driver" settext "${qsd[@]}" 1 59 >/dev/null 2>&1 </dev/null
    timeout 30 wine "$driver" click "${qsd[@]}" "Зап&уск" >/dev/null 2>&1 </dev/null
    sleep 0.5
    timeout 30 wine "$driver" click "${qsd[@]}" "&Закрыть" >/dev/null 2>&1 </dev/null
    timeout 30 wine "$driver" gone "${qsd[@]}" 10000 >/dev/null 2>&1 </dev/null
}

# 50 reminders, none due during the run: the search at minute 00 walks them all.
store_reminders() {
    local reg=$WINE_ENV_DIR/reminders.reg n
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vantrel\\Lumivo\\Remind]\r\n"RemindCount"=dword:%08x\r\n' 50
        for n in $(seq 50); do
            printf '\r\n[HKEY_CURRENT_USER\\Software\\Vantrel\\Lumivo\\Remind\\Remind%d]\r\n' "$n"
            printf '"Name"="Bench %d"\r\n"RemindEnabled"=dword:00000001\r\n"OneLaunch"=dword:00000000\r\n' "$n"
            printf '"TimeH"="3"\r\n"TimeM"="%d"\r\n"IgnoreLowTime"=dword:00000000\r\n"IgnoreDisSound"=dword:00000000\r\n' "$n"
        done
    } >"$reg"
    timeout 30 wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1 </dev/null
}

# measure NAME CLASS SETTLE EXE [ARGS...]:
# prints "name start_ms cpu_ms server_ms peak_private_kb peak_unique_kb"
# With $prepare set, that command runs once the program has settled.
prepare=""
run_env=()
measure() {
    local name=$1 cls=$2 settle=$3
    shift 3
    local t0 t1 pid srv c0 s0 c1 s1 peak=0 kb upeak=0 ukb runner
    # The process's command line ends with the program and its arguments.
    local tail
    tail=$(basename "$1")${2:+ ${*:2}}
    t0=$(date +%s%N)
    env "${run_env[@]}" timeout -k 5 $((seconds + 60)) wine "$@" >/dev/null 2>&1 </dev/null &
    runner=$!
    timeout 30 wine "$driver" wait "$cls" '*' 20000 >/dev/null 2>&1 </dev/null
    t1=$(date +%s%N)
    for _ in $(seq 50); do
        pid=$(program_pid "$tail" "$runner")
        [[ -n $pid ]] && break
        sleep 0.1
    done
    sleep "$settle"
    [[ -n $prepare ]] && { "$prepare"; sleep 2; }
    srv=$(server_pid)
    c0=$(cpu_ticks "$pid"); s0=$(cpu_ticks "$srv")
    local samples=$((seconds * 2))
    [[ $name == warm-up ]] && samples=1
    for _ in $(seq "$samples"); do
        kb=$(private_kb "$pid"); ((kb > peak)) && peak=$kb
        ukb=$(unique_kb "$pid"); ((ukb > upeak)) && upeak=$ukb
        sleep 0.5
    done
    c1=$(cpu_ticks "$pid"); s1=$(cpu_ticks "$srv")
    if [[ $breakdown == 1 && $name != warm-up && -n $pid ]]; then
        python3 "$root/tests/bench/smaps-breakdown.py" "$pid" | sed "1s/ $pid\$/ ${name// /_}/" >"$WINE_ENV_DIR/breakdown.$name"
    fi
    kill "$pid" 2>/dev/null
    # Only this run: the display and its window manager are children of this shell too.
    wait "$runner" 2>/dev/null
    echo "$name $(((t1 - t0) / 1000000)) $(((c1 - c0) * 1000 / tick)) $(((s1 - s0) * 1000 / tick)) $peak $upeak"
}

# The first window of a fresh prefix starts Wine's desktop process: not any program's cost.
measure warm-up FloorClock 0 "$floor" >/dev/null
# A settings key, or the program greets a new user with its first-launch window.
timeout 30 wine reg add 'HKCU\Software\Vantrel\Lumivo\Settings' /f >/dev/null 2>&1 </dev/null
lumivo=$(measure Lumivo.exe TFormClock 6 "$root/dist/Lumivo/Lumivo.exe")
prepare=start_quick_exit
running=$(measure "Lumivo.exe qsd" TFormClock 6 "$root/dist/Lumivo/Lumivo.exe")
prepare=""
# The program's clock starts 20 s before a full hour (its own, by a faked wall clock).
reminders=""
faketime_lib=$(ls /usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 /usr/lib/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
if [[ -n $faketime_lib ]]; then
    store_reminders
    now=$(date +%s)
    target=$(date -d "$(date -d @"$((now + 3600))" +'%F %H'):00:00" +%s)
    run_env=(LD_PRELOAD="$faketime_lib" NO_FAKE_STAT=1 FAKETIME_DONT_FAKE_MONOTONIC=1
        FAKETIME="$(printf '%+ds' "$((target - now - 27))")")
    reminders=$(measure "Lumivo.exe 50 rem" TFormClock 6 "$root/dist/Lumivo/Lumivo.exe")
    run_env=()
    timeout 30 wine reg delete 'HKCU\Software\Vantrel\Lumivo\Remind' /f >/dev/null 2>&1 </dev/null
fi
empty=$(measure floor.exe FloorClock 6 "$floor")
clock=$(measure "floor.exe clock" FloorClock 6 "$floor" clock)

printf '%-16s %13s %14s %14s %18s %18s\n' program "to window ms" "cpu ms/${seconds}s" "wineserver ms" \
    "peak private KiB" "peak unique KiB"
for row in "$lumivo" "$running" ${reminders:+"$reminders"} "$empty" "$clock"; do
    # The name may hold a space: the five numbers are the last fields.
    read -r -a f <<<"$row"
    n=${#f[@]}
    printf '%-16s %13s %14s %14s %18s %18s\n' "${f[*]:0:n-5}" "${f[n-5]}" "${f[n-4]}" "${f[n-3]}" "${f[n-2]}" "${f[n-1]}"
done
ratios() {
    local mine=${4:-Lumivo}
    read -r -a l <<<"${3:-$lumivo}"
    read -r -a m <<<"$2"
    local a=${#l[@]} b=${#m[@]}
    awk -v who="$1" -v mine="$mine" -v ls="${l[a-5]}" -v ms="${m[b-5]}" -v lc="${l[a-4]}" -v mc="${m[b-4]}" \
        -v lp="${l[a-2]}" -v mp="${m[b-2]}" -v lu="${l[a-1]}" -v mu="${m[b-1]}" 'BEGIN {
        printf "ratios (%s / %s): start %.2f, cpu %.2f, private memory %.2f, unique memory %.2f\n", mine, who,
            ls / (ms ? ms : 1), (lc ? lc : 1) / (mc ? mc : 1), lp / (mp ? mp : 1), lu / (mu ? mu : 1) }'
}
ratios "floor" "$empty"
ratios "floor clock" "$clock"
ratios "floor" "$empty" "$running" "Lumivo, quick exit running"
ratios "floor clock" "$clock" "$running" "Lumivo, quick exit running"
if [[ -n $reminders ]]; then
    ratios "floor" "$empty" "$reminders" "Lumivo, 50 reminders, minute 00"
    ratios "floor clock" "$clock" "$reminders" "Lumivo, 50 reminders, minute 00"
fi
if [[ $breakdown == 1 ]]; then
    # The labels from the first, then each program's column.
    paste -d '' "$WINE_ENV_DIR/breakdown.Lumivo.exe" \
        <(cut -c39- "$WINE_ENV_DIR/breakdown.floor.exe") <(cut -c39- "$WINE_ENV_DIR/breakdown.floor.exe clock")
fi

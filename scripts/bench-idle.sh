#!/usr/bin/env bash
# Idle cost of the clock against a minimal Win32 program with a 50 ms timer that
# paints nothing, both under Wine in one run: CPU time over a steady period after
# start-up, time until the window exists, and peak private memory.
# Usage: scripts/bench-idle.sh [SECONDS]   (default 60; needs a Windows build)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
build=$root/build/windows
driver=$build/e2e/driver.exe
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
# Debian names it wineserver64; only the newest server is ours (a fresh prefix).
server_pid() { pgrep -n -u "$(id -u)" wineserver; }

# measure NAME EXE CLASS SETTLE: prints "name start_ms cpu_ms peak_private_kb"
measure() {
    local name=$1 exe=$2 cls=$3 settle=$4
    local t0 t1 pid srv c0 s0 c1 s1 peak=0 kb upeak=0 ukb
    t0=$(date +%s%N)
    timeout -k 5 $((seconds + 60)) wine "$exe" >/dev/null 2>&1 </dev/null &
    timeout 30 wine "$driver" wait "$cls" '*' 20000 >/dev/null 2>&1 </dev/null
    t1=$(date +%s%N)
    for _ in $(seq 50); do
        pid=$(pgrep -n -f "$(basename "$exe")$" || true)
        [[ -n $pid ]] && break
        sleep 0.1
    done
    sleep "$settle"
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
    kill "$pid" 2>/dev/null
    wait 2>/dev/null
    echo "$name $(((t1 - t0) / 1000000)) $(((c1 - c0) * 1000 / tick)) $(((s1 - s0) * 1000 / tick)) $peak $upeak"
}

# The first window of a fresh prefix starts Wine's desktop process: not either program's cost.
warm=$(measure warm-up "$build/e2e/minimal.exe" MinimalTimer 0)
lumivo=$(measure Lumivo.exe "$root/dist/Lumivo/Lumivo.exe" TFormClock 6)
minimal=$(measure minimal.exe "$build/e2e/minimal.exe" MinimalTimer 6)
printf '%-12s %13s %14s %14s %18s %18s\n' program "to window ms" "cpu ms/${seconds}s" "wineserver ms" "peak private KiB" "peak unique KiB"
for row in "$lumivo" "$minimal"; do
    read -r n a b s c u <<<"$row"
    printf '%-12s %13s %14s %14s %18s %18s\n' "$n" "$a" "$b" "$s" "$c" "$u"
done
read -r _ la lb _ lc _ <<<"$lumivo"
read -r _ ma mb _ mc _ <<<"$minimal"
awk -v la="$la" -v ma="$ma" -v lb="$lb" -v mb="$mb" -v lc="$lc" -v mc="$mc" 'BEGIN {
    printf "ratios (Lumivo / minimal): start %.2f, cpu %.2f, private memory %.2f\n",
        la / (ma ? ma : 1), (lb ? lb : 1) / (mb ? mb : 1), lc / (mc ? mc : 1) }'

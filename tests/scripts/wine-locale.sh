#!/usr/bin/env bash
# Wine runs under a UTF-8 locale whatever the caller's was, so that it reads
# the program's Cyrillic voice folders. Usage: wine-locale.sh [BUILD_DIR]
# (the Windows build folder; without it only the checks without Wine run).
# Ends with one line: "wine-locale: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-}
# A UTF-8 locale that is not installed here.
absent=ru_RU.UTF-8
locale -a 2>/dev/null | grep -qix 'ru_RU.utf-\?8' && absent=xx_XX.UTF-8

# shellcheck source=tests/scripts/checks.sh
source "$root/tests/scripts/checks.sh"

work=$(mktemp -d)
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
trap 'wine_env_cleanup; rm -rf "$work"' EXIT

# ---- what wine_run hands Wine, seen by a stand-in ------------------------------------
mkdir -p "$work/bin" "$work/out"
cat >"$work/bin/wine" <<'EOF'
#!/usr/bin/env bash
{ locale charmap 2>/dev/null; locale 2>&1 >/dev/null | wc -l; } >"$WINE_LOCALE_REPORT"
EOF
chmod +x "$work/bin/wine"

# Runs wine_run under exactly the given locale variables; leaves the stand-in's
# report (charmap, count of locale complaints) and what wine-env said.
# shellcheck disable=SC2016  # expanded by the inner shell
under() {
    env -i PATH="$work/bin:$PATH" HOME="$work" WINEPREFIX="$work" WINE_ENV_DIR="$work/out" \
        WINE_LOCALE_REPORT="$work/report" "$@" \
        bash -c 'source "$1/scripts/wine-env.sh" && wine_run -- prog.exe' _ "$root" 2>"$work/said" >/dev/null
}
utf8_and_installed() { [[ $(sed -n 1p "$work/report") == UTF-8 && $(sed -n 2p "$work/report") == 0 ]]; }
said() { grep -q "$1" "$work/said"; }
silent() { [[ ! -s $work/said ]]; }

under LANG=C
check "LANG=C: Wine gets UTF-8" utf8_and_installed
check "LANG=C: the change is said" said "the locale C is not UTF-8; Wine runs under C.UTF-8"
under LC_ALL=$absent LANG=C.UTF-8
check "LC_ALL=$absent (not installed): Wine gets UTF-8" utf8_and_installed
check "LC_ALL=$absent: the change is said" said "the locale $absent is not installed"
under LANG=C.UTF-8
check "LANG=C.UTF-8: kept" utf8_and_installed
check "LANG=C.UTF-8: nothing said" silent

# ---- the real Wine: a Cyrillic file name, and the talking clock ----------------------
driver=$build/e2e/driver.exe
if [[ -n $build && -f $driver ]]; then
    export LUMIVO_WINE_QUIET=1
    wine_env_new_prefix "$work/wine" >/dev/null 2>&1 || exit 1
    mkdir -p "$WINEPREFIX/drive_c/Звуки/Женский голос"
    : >"$WINEPREFIX/drive_c/Звуки/Женский голос/1.wav"
    # shellcheck disable=SC2016  # expanded by the inner shell
    sees_cyrillic() {
        env -u LC_ALL -u LC_CTYPE -u LANG "$@" bash -c '
            source "$1/scripts/wine-env.sh" && wine_run --kill -- "$2" exists "C:\\Звуки\\Женский голос\\1.wav"' \
            _ "$root" "$driver" 2>/dev/null
    }
    check "LANG=C: Wine reads a Cyrillic file name" sees_cyrillic LANG=C
    check "LC_ALL=$absent: Wine reads a Cyrillic file name" sees_cyrillic LC_ALL="$absent"
    speaks() {
        env -u LANG LC_ALL="$absent" bash "$root/tests/e2e/run.sh" "$build" \
            HotKeys.test_win_t_speaks_the_time_in_order >"$work/e2e.log" 2>&1
        grep -q '^e2e: 1 passed, 0 failed' "$work/e2e.log" || { tail -n 20 "$work/e2e.log"; return 1; }
    }
    check "LC_ALL=$absent: Win+T speaks" speaks
fi

echo "wine-locale: $passed passed, $failed failed"
[[ $failed == 0 ]]

#!/usr/bin/env bash
# Every test of the project: native unit tests, Win32 tests under Wine, and the
# real program under Wine and Xvfb. Installs what is missing first (as root).
# Ends with one line: "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
# NSIS: the release files are made and installed too.
WINE_ENV_PACKAGES+=("${WINE_ENV_TEST_PACKAGES[@]}" nsis)
wine_env_install_deps || exit 1
# Said once here rather than by every Wine start below.
wine_env_locale

passed=0
failed=0
broken=()
jobs=$(nproc 2>/dev/null || echo 2)

# Adds the counts of a ctest run's closing line to the totals.
count_ctest() {
    local line
    line=$(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$1" | tail -n 1)
    if [[ -z $line ]]; then
        broken+=("$2: no test ran")
        return
    fi
    local f t
    f=$(awk '{print $1}' <<<"$line")
    t=$(awk '{print $6}' <<<"$line")
    passed=$((passed + t - f))
    failed=$((failed + f))
}

# Adds the counts of a "<what>: N passed, N failed" closing line to the totals.
count_summary() {
    local line
    line=$(grep -Eo "^$2: [0-9]+ passed, [0-9]+ failed" "$1" | tail -n 1)
    if [[ -z $line ]]; then
        broken+=("$3: no result")
        return
    fi
    passed=$((passed + $(awk '{print $2}' <<<"$line")))
    failed=$((failed + $(awk '{print $4}' <<<"$line")))
}

step() {
    local name=$1
    shift
    echo "== $name"
    if ! "$@"; then
        broken+=("$name")
        return 1
    fi
}

log=$(mktemp)
trap 'rm -f "$log"; wine_env_cleanup' EXIT

if step "native build" cmake --preset native >/dev/null && step "native build" cmake --build --preset native -j "$jobs"; then
    ctest --preset native -j "$jobs" 2>&1 | tee "$log"
    count_ctest "$log" "native unit tests"
fi

if step "windows build" cmake --preset windows >/dev/null && step "windows build" cmake --build --preset windows -j "$jobs"; then
    ctest --preset windows 2>&1 | tee "$log"
    count_ctest "$log" "win32 tests"
    echo "== Wine's locale"
    bash "$root/tests/scripts/wine-locale.sh" "$root/build/windows" 2>&1 | tee "$log"
    count_summary "$log" wine-locale "Wine's locale"
    echo "== help pages"
    python3 "$root/tests/scripts/help-pages.py" "$root/dist/Lumivo" 2>&1 | tee "$log"
    count_summary "$log" help-pages "help pages"
    # The release files first: the portable copy's end-to-end tests unpack the zip.
    release=0
    step "release files" bash "$root/scripts/release.sh" && release=1
    echo "== end-to-end"
    bash "$root/tests/e2e/run.sh" "$root/build/windows" 2>&1 | tee "$log"
    count_summary "$log" e2e end-to-end
    if ((release)); then
        echo "== the installer"
        bash "$root/tests/scripts/install.sh" "$root/build/windows" 2>&1 | tee "$log"
        count_summary "$log" install "the installer"
    fi
fi

for b in "${broken[@]}"; do echo "BROKEN: $b"; done
echo "$passed passed, $failed failed"
[[ $failed == 0 && ${#broken[@]} == 0 ]]

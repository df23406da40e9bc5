#!/usr/bin/env bash
# Remakes the help pages' pictures (assets/Help/img/*.png) from the real program under Wine
# and a virtual display at 96 DPI, on a fixed clock and fixed settings and reminders, then
# checks the pages. Run it after a window has changed, look at the pictures, commit them.
# Usage: scripts/help-shots.sh [BUILD_DIR]   (default build/windows; built or brought up to date)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
build=${1:-$root/build/windows}
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
WINE_ENV_PACKAGES+=(python3 xdotool faketime)
export LUMIVO_WINE_QUIET=1
wine_env_install_deps || exit 1

export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake --preset windows >/dev/null || exit 1
    build=$root/build/windows
fi
log=$(mktemp)
if ! cmake --build "$build" -j 2 >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    rm -f "$log"
    echo "help-shots: the build failed" >&2
    exit 1
fi
rm -f "$log"
build=$(cd "$build" && pwd)

# Wine draws the caption buttons with Marlett; without it they show stray letters. It comes in
# the fonts-wine package, which would change the text of every other Wine run on the machine
# (its Tahoma), so only Marlett is unpacked, into the cache, for the prefix of these pictures.
fonts=${LUMIVO_WINE_CACHE:-$root/build/wine}/help-fonts
if [[ ! -f $fonts/marlett.ttf ]]; then
    tmp=$(mktemp -d)
    (cd "$tmp" && { apt-get download fonts-wine >/dev/null 2>&1 ||
        { apt-get -qq update >/dev/null 2>&1 && apt-get download fonts-wine >/dev/null 2>&1; }; } &&
        dpkg-deb -x fonts-wine_*.deb x) || { echo "help-shots: could not fetch fonts-wine" >&2; exit 1; }
    mkdir -p "$fonts" && cp "$tmp"/x/usr/share/wine/fonts/marlett.ttf "$fonts"/
    rm -rf "$tmp"
fi
export LUMIVO_HELP_FONTS=$fonts

wine_env_new_prefix || exit 1
wine_env_start_display || exit 1
# A running server makes each program start in a twentieth of a second.
timeout 5 wineserver -p 900 >/dev/null 2>&1 </dev/null || true
export LUMIVO_E2E_DRIVER=$build/e2e/driver.exe
export LUMIVO_E2E_DIST=$root/dist/Lumivo
export LUMIVO_E2E_OUT=$WINE_ENV_DIR/out
mkdir -p "$LUMIVO_E2E_OUT"
python3 "$root/scripts/help_shots.py" || { echo "help-shots: taking the pictures failed" >&2; exit 1; }
# The new pictures into the program folder, and every page and link checked there too.
cmake --build "$build" -j 2 --target lumivo_dist >/dev/null || exit 1
python3 "$root/tests/scripts/help-pages.py" "$root/dist/Lumivo"

#!/usr/bin/env bash
# End-to-end tests of dist/Lumivo/Lumivo.exe under Wine and Xvfb, in a fresh prefix.
# Usage: tests/e2e/run.sh BUILD_DIR   (the Windows build folder holding e2e/driver.exe)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build/windows}" && pwd) || exit 1
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
WINE_ENV_PACKAGES+=(python3 xdotool faketime)
export LUMIVO_WINE_QUIET=1
wine_env_setup || exit 1
# A running server makes each program start in a twentieth of a second.
timeout 5 wineserver -p 900 >/dev/null 2>&1 </dev/null || true
export LUMIVO_E2E_DRIVER=$build/e2e/driver.exe
export LUMIVO_E2E_DIST=$root/dist/Lumivo
# The portable copy's tests unpack the release's zip (scripts/release.sh makes it).
version=$(sed -n 's/^!define LUMIVO_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/Version.nsh" 2>/dev/null)
export LUMIVO_E2E_ZIP=$root/dist/Lumivo-$version-portable.zip
export LUMIVO_E2E_WINE_ENV=$root/scripts/wine-env.sh
export LUMIVO_E2E_OUT=$root/out/e2e
mkdir -p "$LUMIVO_E2E_OUT"
python3 "$root/tests/e2e/test_e2e.py" "${@:2}"

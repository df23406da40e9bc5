#!/usr/bin/env bash
# The release files, from the program folder the Windows build makes:
#   dist/Lumivo-<version>-setup.exe     installer for the current user, no administrator rights
#   dist/Lumivo-<version>-portable.zip  the program folder to unpack anywhere, with the
#                                       marker (Portable.txt) that keeps its settings in it
# The version comes from cmake/Version.cmake. Installs what is missing first (as root).
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
# Building needs no Wine; the installer needs NSIS.
WINE_ENV_PACKAGES=(cmake make g++-mingw-w64-x86-64 nsis)
wine_env_install_deps || exit 1

cmake --preset windows >/dev/null || exit 1
cmake --build --preset windows -j "$(nproc 2>/dev/null || echo 2)" --target Lumivo || exit 1

build=$root/build/windows
dist=$root/dist
version=$(sed -n 's/^!define LUMIVO_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/Version.nsh")
if [[ -z $version ]]; then
    echo "release: no version in $build/generated/Version.nsh" >&2
    exit 1
fi

# Only the files the build puts there: a user's own files (an Error\ log, a
# BackUp\ copy) may have been written into dist/Lumivo by running it in place.
stage=$build/release
rm -rf "$stage"
mkdir -p "$stage/Lumivo"
files=()
while IFS= read -r rel; do
    [[ -n $rel ]] || continue
    mkdir -p "$stage/Lumivo/$(dirname "$rel")"
    cp -p "$dist/Lumivo/$rel" "$stage/Lumivo/$rel" || exit 1
    files+=("$rel")
done <"$build/dist-files.txt"

# The installer's and the uninstaller's lists, from the same files: the
# uninstaller removes what was installed and leaves anything else in a folder.
nsis_text() { local s=${1//\$/\$\$}; echo "${s//\//\\}"; }
{
    last=-
    for rel in "${files[@]}"; do
        dir=$(dirname "$rel")
        if [[ $dir != "$last" ]]; then
            # shellcheck disable=SC2016  # NSIS variables
            if [[ $dir == . ]]; then echo 'SetOutPath "$INSTDIR"'; else echo "SetOutPath \"\$INSTDIR\\$(nsis_text "$dir")\""; fi
            last=$dir
        fi
        echo "File \"${stage//\$/\$\$}/Lumivo/${rel//\$/\$\$}\""
    done
} >"$stage/install.nsh"
{
    for rel in "${files[@]}"; do echo "Delete \"\$INSTDIR\\$(nsis_text "$rel")\""; done
    for rel in "${files[@]}"; do
        dir=$(dirname "$rel")
        while [[ $dir != . ]]; do
            echo "$dir"
            dir=$(dirname "$dir")
        done
    done | LC_ALL=C sort -u -r | while IFS= read -r dir; do echo "RMDir \"\$INSTDIR\\$(nsis_text "$dir")\""; done
} >"$stage/uninstall.nsh"

# The portable marker goes in the zip only: the installer's lists above name
# the build's files, so the installed program never has it.
cp -p "$root/installer/Portable.txt" "$stage/Lumivo/Portable.txt" || exit 1

setup=$dist/Lumivo-$version-setup.exe
zip=$dist/Lumivo-$version-portable.zip
# The zip keeps the voices' Cyrillic folder names only under a UTF-8 locale.
wine_env_locale
# Each is written beside its place and moved there only when complete.
rm -f "$setup.part" "$zip.part"
makensis -V2 -INPUTCHARSET UTF8 -DGENERATED="$build/generated" -DSTAGE="$stage" \
    -DOUTFILE="$setup.part" -DICON="$root/assets/Lumivo.ico" "$root/installer/Lumivo.nsi" || {
    rm -f "$setup.part"
    exit 1
}
(cd "$stage" && cmake -E tar cf "$zip.part" --format=zip Lumivo) || {
    rm -f "$zip.part"
    exit 1
}
mv -f "$setup.part" "$setup" && mv -f "$zip.part" "$zip" || exit 1
echo "release: $setup ($(stat -c %s "$setup") bytes)"
echo "release: $zip ($(stat -c %s "$zip") bytes)"

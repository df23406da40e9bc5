# shellcheck shell=bash disable=SC2119,SC2120
# Running Windows builds under Wine and a virtual display. Source this file;
# it only defines functions and changes nothing until one is called.
#
#   wine_env_install_deps        install the missing of WINE_ENV_PACKAGES (as
#                                root, via apt-get)
#   wine_env_locale              a UTF-8 locale for Wine (see there); the
#                                functions below that run Wine call it
#   wine_env_base_prefix         build the cached base prefix once; prints its path
#   wine_env_new_prefix [DIR]    fresh prefix copy + private HOME; exports
#                                WINEPREFIX, HOME, WINE_ENV_DIR (DIR or a new
#                                temporary folder). Call it directly, not in $(...).
#   wine_env_spare_prefix DIR    one more fresh prefix in DIR/prefix (HOME DIR/home),
#                                exported nowhere and left to the caller to end
#                                and remove: another computer, for a test
#   wine_env_start_display       Xvfb + openbox on a free display; exports DISPLAY
#   wine_env_setup               all of the above in order
#   wine_run [opts] PROG ARGS... run one Windows program (see below)
#   wine_env_cleanup             stop and remove only what these functions started
#
# The cleanup runs from an EXIT trap that these functions install (chained to
# an EXIT trap that was already set). A script that sets its own EXIT trap
# afterwards must call wine_env_cleanup from it.
#
# Settings (environment):
#   LUMIVO_WINE_CACHE    base prefix cache            (default <repo>/build/wine)
#   LUMIVO_WINE_TMP      where fresh prefixes go      (default <cache>/tmp)
#   LUMIVO_WINE_TIMEOUT  default wine_run timeout, s  (default 120)
#   LUMIVO_WINE_KEEP=1   keep the fresh prefixes at cleanup (for a post-mortem)
#   LUMIVO_WINE_QUIET=1  no progress messages on stderr

_WINE_ENV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
_WINE_ENV_PIDS=()       # processes we started (display, window manager)
_WINE_ENV_PREFIXES=()   # prefixes whose wineserver we end at cleanup
_WINE_ENV_DIRS=()       # directories we remove at cleanup
_WINE_ENV_TRAPPED=0

# What building and running the program needs: the cross build, Wine, the MCI
# codecs of MP3 reminder sounds, the opener of help pages and links, and for a
# machine without a display a virtual one with a window manager and screenshots.
WINE_ENV_PACKAGES=(cmake make g++-mingw-w64-x86-64 wine64 wine gstreamer1.0-plugins-base
    gstreamer1.0-plugins-good xdg-utils xvfb xauth x11-utils x11-xserver-utils openbox imagemagick)
# What the tests need besides (scripts/test.sh adds them): the native build and
# GoogleTest (its sources serve the cross build), the end-to-end tests' Python,
# keys and clock.
WINE_ENV_TEST_PACKAGES=(g++ googletest libgtest-dev python3 xdotool faketime)

_wine_env_say() {
    [[ ${LUMIVO_WINE_QUIET:-0} == 1 ]] || echo "wine-env: $*" >&2
}

_wine_env_cache() {
    echo "${LUMIVO_WINE_CACHE:-$_WINE_ENV_ROOT/build/wine}"
}

# Fresh prefixes are ~700 MB each: next to the cache by default, on the
# same disk as the build rather than in a RAM-backed /tmp.
_wine_env_tmp() {
    local tmp=${LUMIVO_WINE_TMP:-$(_wine_env_cache)/tmp}
    mkdir -p "$tmp" && echo "$tmp"
}

# Install the EXIT trap once; keep whatever EXIT trap the caller had.
_wine_env_trap() {
    [[ $_WINE_ENV_TRAPPED == 1 ]] && return 0
    _WINE_ENV_TRAPPED=1
    local previous=""
    local saved
    saved=$(trap -p EXIT)
    if [[ -n $saved ]]; then
        eval "set -- $saved"
        previous=$3
    fi
    # shellcheck disable=SC2064
    # shellcheck disable=SC2154  # assigned when the trap runs
    trap "_wine_env_rc=\$?; wine_env_cleanup; (exit \$_wine_env_rc); ${previous:-:}" EXIT
    trap -p INT | grep -q . || trap 'exit 130' INT
    trap -p TERM | grep -q . || trap 'exit 143' TERM
    trap -p HUP | grep -q . || trap 'exit 129' HUP
    return 0
}

# Wine reads file names in the host locale's character set. Under one that is
# not UTF-8 (LANG=C), or one not installed here (LC_ALL=ru_RU.UTF-8 on a bare
# machine: glibc then falls back to ASCII), Cyrillic names cannot be read:
# the voice folders look absent and the talking clock is silent. A locale that
# is UTF-8 and installed is kept; otherwise C.UTF-8 (always there on Debian)
# is exported, and said on stderr whatever LUMIVO_WINE_QUIET says.
wine_env_locale() {
    command -v locale >/dev/null || return 0
    local problems charmap
    problems=$(locale 2>&1 >/dev/null)
    charmap=$(locale charmap 2>/dev/null)
    [[ -z $problems && ${charmap^^} == UTF-8 ]] && return 0
    local was=${LC_ALL:-${LC_CTYPE:-${LANG:-POSIX}}}
    export LC_ALL=C.UTF-8
    if [[ -n $problems ]]; then
        echo "wine-env: the locale $was is not installed; Wine runs under C.UTF-8" >&2
    else
        echo "wine-env: the locale $was is not UTF-8; Wine runs under C.UTF-8" >&2
    fi
}

wine_env_install_deps() {
    command -v dpkg-query >/dev/null || return 0
    local missing=() pkg installed
    installed=" $(dpkg-query -W -f='${db:Status-Status}:${Package} ' "${WINE_ENV_PACKAGES[@]}" 2>/dev/null || true)"
    for pkg in "${WINE_ENV_PACKAGES[@]}"; do
        [[ $installed == *" installed:$pkg "* ]] || missing+=("$pkg")
    done
    ((${#missing[@]} == 0)) && return 0
    if [[ $(id -u) != 0 ]]; then
        echo "wine-env: missing packages (run as root to install): ${missing[*]}" >&2
        return 1
    fi
    _wine_env_say "installing ${missing[*]}"
    local log
    log=$(mktemp)
    if ! { DEBIAN_FRONTEND=noninteractive apt-get -qq update &&
        DEBIAN_FRONTEND=noninteractive apt-get -qq install -y --no-install-recommends "${missing[@]}"; } \
        >"$log" 2>&1 </dev/null; then
        tail -n 30 "$log" >&2
        rm -f "$log"
        echo "wine-env: package installation failed" >&2
        return 1
    fi
    rm -f "$log"
}

# The base prefix is made once per cache and Wine version; builds running at
# the same time wait for each other on a lock.
wine_env_base_prefix() {
    local cache base want lockfd
    cache=$(_wine_env_cache)
    base=$cache/base
    want="$(WINEDEBUG=-all wine --version 2>/dev/null) uid=$(id -u)"
    if [[ -f $base/.update-timestamp && -f $cache/base.stamp && $(<"$cache/base.stamp") == "$want" ]]; then
        echo "$base"
        return 0
    fi
    mkdir -p "$cache"
    exec {lockfd}>"$cache/base.lock"
    if ! flock -w 600 "$lockfd"; then
        exec {lockfd}>&-
        echo "wine-env: timed out waiting for $cache/base.lock" >&2
        return 1
    fi
    if [[ -f $base/.update-timestamp && -f $cache/base.stamp && $(<"$cache/base.stamp") == "$want" ]]; then
        exec {lockfd}>&-
        echo "$base"
        return 0
    fi
    wine_env_locale
    _wine_env_say "making the base Wine prefix in $base (once, ~15 s)"
    local work=$cache/base.new.$$
    rm -rf "$work"
    mkdir -p "$work/home"
    local ok=1
    (
        cd "$work" || exit 1
        export HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        unset DISPLAY WAYLAND_DISPLAY XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
        timeout 300 wineboot -i || exit 1
        # ALSA only: no attempt to reach or spawn a sound server.
        timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f || exit 1
        timeout 120 wineserver -w || exit 1
    ) >"$cache/base.log" 2>&1 </dev/null || ok=0
    if [[ $ok == 1 && -d $work/prefix/drive_c ]]; then
        WINEPREFIX=$work/prefix timeout 10 wineserver -k >/dev/null 2>&1 </dev/null || true
        echo disable >"$work/prefix/.update-timestamp"
        rm -rf "$base"
        mv "$work/prefix" "$base"
        echo "$work/home" >"$cache/base.home"
        echo "$want" >"$cache/base.stamp"
    fi
    WINEPREFIX=$work/prefix timeout 10 wineserver -k >/dev/null 2>&1 </dev/null || true
    rm -rf "$work"
    exec {lockfd}>&-
    if [[ $ok != 1 ]]; then
        tail -n 20 "$cache/base.log" >&2
        echo "wine-env: could not make the base prefix (log: $cache/base.log)" >&2
        return 1
    fi
    echo "$base"
}

# A private copy of the base prefix and a private HOME whose null ALSA device
# lets sound calls succeed without a sound card.
wine_env_new_prefix() {
    local base dir
    wine_env_locale
    base=$(wine_env_base_prefix) || return 1
    _wine_env_trap
    if [[ $# -ge 1 ]]; then
        dir=$1
        # Only what we put there is replaced: DIR may be a caller's folder.
        rm -rf "${dir:?}/prefix" "${dir:?}/home"
        mkdir -p "$dir"
        _WINE_ENV_DIRS+=("$dir/prefix" "$dir/home")
    else
        local tmp
        tmp=$(_wine_env_tmp)
        dir=$(mktemp -d "$tmp/prefix.XXXXXX") || return 1
        _WINE_ENV_DIRS+=("$dir")
    fi
    mkdir -p "$dir/home"
    cp -a --reflink=auto "$base" "$dir/prefix" || return 1
    # The user folders link to the HOME the base was made with.
    local old link target
    old=$(cat "$(_wine_env_cache)/base.home" 2>/dev/null || true)
    if [[ -n $old ]]; then
        for link in "$dir"/prefix/drive_c/users/*/*; do
            [[ -L $link ]] || continue
            target=$(readlink "$link")
            [[ $target == "$old" || $target == "$old"/* ]] || continue
            mkdir -p "$dir/home${target#"$old"}"
            ln -sfn "$dir/home${target#"$old"}" "$link"
        done
    fi
    echo 'pcm.!default { type null }' >"$dir/home/.asoundrc"
    export HOME=$dir/home WINEPREFIX=$dir/prefix WINE_ENV_DIR=$dir
    export XDG_CONFIG_HOME=$dir/home/.config XDG_CACHE_HOME=$dir/home/.cache XDG_DATA_HOME=$dir/home/.local/share
    _WINE_ENV_PREFIXES+=("$WINEPREFIX")
}

wine_env_spare_prefix() {
    [[ $# -eq 1 ]] || { echo "wine_env_spare_prefix: DIR expected" >&2; return 2; }
    # In a subshell that neither exports it nor takes it into this shell's cleanup.
    (_WINE_ENV_TRAPPED=1 && wine_env_new_prefix "$1" >/dev/null)
}

_wine_env_display_ok() {
    [[ -n ${1:-} ]] && DISPLAY=$1 timeout 5 xdpyinfo >/dev/null 2>&1 </dev/null
}

# Xvfb on a free display (from 100 up, away from the usual low numbers),
# painted a known colour, with openbox so that windows behave normally.
wine_env_start_display() {
    _wine_env_trap
    local n=$((100 + RANDOM % 100)) tries xpid i started=0
    for ((tries = 0; tries < 100; tries++, n++)); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -noreset -nolisten tcp -screen 0 "${LUMIVO_XVFB_SCREEN:-1280x1024x24}" \
            >/dev/null 2>&1 </dev/null &
        xpid=$!
        for ((i = 0; i < 100; i++)); do
            kill -0 "$xpid" 2>/dev/null || break
            # The lock names the server that won this number, which may be another run's.
            if [[ $(tr -dc 0-9 2>/dev/null </tmp/.X$n-lock) == "$xpid" ]] && _wine_env_display_ok ":$n"; then
                started=1
                break
            fi
            sleep 0.05
        done
        [[ $started == 1 ]] && break
        kill "$xpid" 2>/dev/null || true
        wait "$xpid" 2>/dev/null || true
    done
    if [[ $started != 1 ]]; then
        echo "wine-env: could not start Xvfb" >&2
        return 1
    fi
    _WINE_ENV_PIDS+=("$xpid")
    export DISPLAY=:$n
    xsetroot -solid "${LUMIVO_ROOT_COLOR:-#336699}" >/dev/null 2>&1 </dev/null || true
    openbox --sm-disable >/dev/null 2>&1 </dev/null &
    _WINE_ENV_PIDS+=("$!")
    for ((i = 0; i < 100; i++)); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null </dev/null | grep -q 'window id' && break
        sleep 0.05
    done
    _wine_env_say "display $DISPLAY ready"
}

wine_env_setup() {
    wine_env_install_deps || return 1
    wine_env_new_prefix || return 1
    wine_env_start_display || return 1
}

# wine_run [--timeout S] [--out FILE] [--err FILE] [--bg] [--kill] [--] PROG [ARGS...]
#   Runs PROG under Wine in $WINEPREFIX, always under `timeout` (124 when it
#   hit), with its output in files, never in a pipe: Wine's helper processes
#   inherit pipes and keep them open. Defaults: $WINE_ENV_DIR/wine.out and
#   .err (or a temporary file); the names used are left in WINE_RUN_OUT and
#   WINE_RUN_ERR. --bg returns at once with the pid in WINE_RUN_PID.
#   --kill ends this prefix's wineserver when the program has ended (also done
#   after a timeout); the cleanup ends the servers of the prefixes that
#   wine_env_new_prefix made, and no other.
wine_run() {
    local limit=${LUMIVO_WINE_TIMEOUT:-120} out="" err="" bg=0 kill=0
    while [[ $# -gt 0 ]]; do
        case $1 in
            --timeout) limit=$2; shift 2 ;;
            --out) out=$2; shift 2 ;;
            --err) err=$2; shift 2 ;;
            --bg) bg=1; shift ;;
            --kill) kill=1; shift ;;
            --) shift; break ;;
            *) break ;;
        esac
    done
    if [[ $# -lt 1 ]]; then
        echo "wine_run: no program given" >&2
        return 2
    fi
    if [[ -z ${WINEPREFIX:-} ]]; then
        echo "wine_run: WINEPREFIX is not set (call wine_env_new_prefix first)" >&2
        return 2
    fi
    _wine_env_trap
    wine_env_locale
    local base=${WINE_ENV_DIR:-}
    if [[ -z $base ]]; then
        base=$(mktemp -d "${TMPDIR:-/tmp}/lumivo-run.XXXXXX") || return 1
        _WINE_ENV_DIRS+=("$base")
    fi
    WINE_RUN_OUT=${out:-$base/wine.out}
    WINE_RUN_ERR=${err:-$base/wine.err}
    local env=(WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES-mscoree,mshtml=}")
    if [[ $bg == 1 ]]; then
        env "${env[@]}" timeout -k 5 "$limit" wine "$@" >"$WINE_RUN_OUT" 2>"$WINE_RUN_ERR" </dev/null &
        # shellcheck disable=SC2034  # for the caller
        WINE_RUN_PID=$!
        return 0
    fi
    # Now and then (one start in some thousands here) Wine ends the process
    # before it runs, with exit code 1 and not a word; the programs run here say
    # why they fail, so such a start is made again.
    local rc attempt
    for attempt in 1 2 3; do
        rc=0
        env "${env[@]}" timeout -k 5 "$limit" wine "$@" >"$WINE_RUN_OUT" 2>"$WINE_RUN_ERR" </dev/null || rc=$?
        [[ $rc == 1 && ! -s $WINE_RUN_OUT && ! -s $WINE_RUN_ERR ]] || break
        echo "wine_run: $1 ended at once without a word, started again" >&2
    done
    if [[ $rc == 124 || $rc == 137 ]]; then
        echo "wine_run: $1 did not end within ${limit}s" >>"$WINE_RUN_ERR"
        kill=1
    fi
    if [[ $kill == 1 ]]; then
        timeout 10 wineserver -k >/dev/null 2>&1 </dev/null || true
    fi
    return "$rc"
}

wine_env_cleanup() {
    local p pid
    for p in "${_WINE_ENV_PREFIXES[@]}"; do
        [[ -d $p ]] || continue
        WINEPREFIX=$p timeout 10 wineserver -k >/dev/null 2>&1 </dev/null || true
        WINEPREFIX=$p timeout 10 wineserver -w >/dev/null 2>&1 </dev/null || true
    done
    _WINE_ENV_PREFIXES=()
    # Window manager first, then the display it runs on.
    local i
    for ((i = ${#_WINE_ENV_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${_WINE_ENV_PIDS[i]}
        if kill "$pid" 2>/dev/null; then wait "$pid" 2>/dev/null || true; fi
    done
    _WINE_ENV_PIDS=()
    if [[ ${LUMIVO_WINE_KEEP:-0} != 1 ]]; then
        for p in "${_WINE_ENV_DIRS[@]}"; do rm -rf "$p"; done
    elif ((${#_WINE_ENV_DIRS[@]})); then
        _wine_env_say "kept ${_WINE_ENV_DIRS[*]}"
    fi
    _WINE_ENV_DIRS=()
    return 0
}

# Sourced by the scripts that run Windows programs: a Wine prefix with a
# Japanese locale (code page 932) and, when there is no display, a private
# Xvfb. Only processes started here are stopped here.
#   wine_session_start PREFIX_DIR   then run programs with `wine`
#   wine_session_stop
#
# The program ships as a 32-bit exe. Some machines (virtual machines without
# 32-bit user space) cannot run 32-bit Linux code, and so no 32-bit Wine:
# there the session uses a 64-bit prefix and WINE_BUILD names the x86-64
# build of the same sources (build/win64) for the tests to run.

_wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE_XVFB_PID=""

_wine_private_locale() {
    # Non-ASCII command-line arguments reach Windows programs intact only
    # when the Unix locale exists; it is compiled into the build folder so
    # that nothing machine-wide changes.
    local dir="$_wine_root/build/locale"
    if [ ! -e "$dir/ja_JP.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$dir"
        localedef -i ja_JP -f UTF-8 "$dir/ja_JP.UTF-8" 2>/dev/null || true
    fi
    export LOCPATH="$dir"
}

_wine_start_xvfb() {
    # One session at a time picks its display: two started side by side
    # would otherwise both take the first free number.
    mkdir -p "$_wine_root/build"
    exec 8>"$_wine_root/build/xvfb.lock"
    flock 8
    local n=90 started=1 i
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 8>&- &
    WINE_XVFB_PID=$!
    export DISPLAY=":$n"
    for i in $(seq 1 100); do
        if [ -e "/tmp/.X11-unix/X$n" ]; then started=0; break; fi
        kill -0 "$WINE_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    exec 8>&-
    [ "$started" = 0 ] && return 0
    echo "wine_session: Xvfb did not start" >&2
    return 1
}

# True when this machine can run 32-bit Wine (some kernels cannot execute
# 32-bit Linux programs at all).
wine_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# The 32-bit build in a 32-bit prefix where possible, else the x86-64 build
# in a 64-bit prefix. QUORVEL_WINE_BUILD=win64 asks for the latter.
_wine_choose_loader() {
    export WINESERVER=/usr/lib/wine/wineserver64
    [ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver32
    if [ "${QUORVEL_WINE_BUILD:-}" != win64 ] && wine_runs_32bit; then
        export WINE=/usr/lib/wine/wine WINEARCH=win32 WINE_BUILD=win32
    else
        export WINE=/usr/lib/wine/wine64 WINEARCH=win64 WINE_BUILD=win64
        export WINELOADER="$WINE"
    fi
}

wine() { "$WINE" "$@"; }

wine_session_start() {
    _wine_choose_loader
    export WINEPREFIX="$1" WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree=;mshtml="
    _wine_private_locale
    { export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null
    if [ -z "${DISPLAY:-}" ]; then _wine_start_xvfb || return 1; fi
    local log="${WINE_SESSION_LOG:-/dev/null}"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        # A new prefix: let it be made and shut down completely first.
        # Programs started while it is still being made can meet a second
        # services.exe with its own list of services.
        mkdir -p "$(dirname "$WINEPREFIX")"
        wine wineboot -i >"$log" 2>&1
        "$WINESERVER" -w
    fi
    # A persistent server keeps the prefix's services alive between the
    # programs of one session.
    "$WINESERVER" -p
    wine wineboot >>"$log" 2>&1
}

# Safe to call more than once, and under `set -e`.
wine_session_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then "$WINESERVER" -k 2>/dev/null || true; fi
    if [ -n "${WINE_XVFB_PID:-}" ]; then
        kill "$WINE_XVFB_PID" 2>/dev/null || true
        wait "$WINE_XVFB_PID" 2>/dev/null || true
        WINE_XVFB_PID=""
        unset DISPLAY  # the next session starts its own again
    fi
    return 0
}

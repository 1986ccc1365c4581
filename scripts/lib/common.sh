# Shared by the scripts: ks_build TREE... configures and builds trees of
# CMakePresets.json (native, sanitize, win32, win64) under build/, a private
# Xvfb display, and wine prefixes of our own for the 32- and 64-bit programs.
KS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
KS_BUILD=$KS_ROOT/build

ks_build() {
    local preset
    for preset in "$@"; do
        if [ ! -f "$KS_BUILD/$preset/build.ninja" ]; then
            cmake --preset "$preset" -S "$KS_ROOT" >/dev/null
        fi
        cmake --build "$KS_BUILD/$preset" -- -j"$(nproc)" | grep -vE '^\[[0-9]+/[0-9]+\] ' || true
        [ "${PIPESTATUS[0]}" -eq 0 ] || return 1
    done
}

# Wine in a 32-bit prefix of our own under build/ (build/wineprefix, or
# build/wineprefix-NAME for ks_wine_env NAME), quiet, no mono/gecko prompts.
# ks_wine64_env NAME: the same in a 64-bit prefix (build/wineprefix64-NAME),
# for the 64-bit programs.
ks_wine_env() { ks_wine_prefix win32 "$KS_BUILD/wineprefix${1:+-$1}"; }
ks_wine64_env() { ks_wine_prefix win64 "$KS_BUILD/wineprefix64${1:+-$1}"; }

ks_wine_prefix() {
    export WINEARCH=$1
    export WINEPREFIX=$2
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1 || true
        # Unmanaged windows: no wait for a window manager when a dialog closes.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        wineserver -w
    fi
}

KS_XVFB_PID=
# Starts an Xvfb of our own on a free display number; ks_stop_xvfb ends it.
ks_start_xvfb() {
    local n
    for n in $(seq 91 130); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        KS_XVFB_PID=$!
        sleep 0.5
        if kill -0 "$KS_XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            return 0
        fi
    done
    echo "could not start Xvfb" >&2
    return 1
}

ks_stop_xvfb() {
    if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
    if [ -n "$KS_XVFB_PID" ]; then
        kill "$KS_XVFB_PID" 2>/dev/null || true
        wait "$KS_XVFB_PID" 2>/dev/null || true
        KS_XVFB_PID=
    fi
}

#!/usr/bin/env bash
# Captures the plug-in's dialogs from a private X display into PNG files,
# for a person to look at:
#   tests/frontend/render_dialogs.sh BUILD_DIR [OUT_DIR]
# BUILD_DIR is a win32 build tree with dialog_preview.exe,
# export_dialog_preview.exe and the compiled help file in bin/help;
# OUT_DIR defaults to BUILD_DIR/renders. A help page
# is rendered too when xchm is installed: wine's help viewer needs a browser
# engine that Debian does not ship to show pages, so it shows only its frame.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/common.sh"
build=${1:?win32 build directory}
out=${2:-$build/renders}
mkdir -p "$out"
ks_wine_env "${KS_WINE_NAME:-render}"  # a prefix of its own, unless told another
ks_start_xvfb
trap ks_stop_xvfb EXIT

capture() {  # what name [seconds] [program]
    wine "$build/bin/${4:-dialog_preview}.exe" "$1" 4000 &
    local pid=$!
    sleep "${3:-2.5}"
    import -window root "$out/$2-screen.png"
    convert "$out/$2-screen.png" -trim +repage "$out/$2.png"
    rm -f "$out/$2-screen.png"
    wait "$pid" || true
    echo "$out/$2.png"
}

capture progress progress_dialog
capture message message_box
capture options options_dialog
capture options-all options_dialog_all
capture about about_box
capture help help_viewer 3.5
capture export-options export_options_dialog 2.5 export_dialog_preview
capture export-options-open export_options_dialog_open 2.5 export_dialog_preview

help_page() {  # context-id name
    xchm -c "$1" "$build/bin/help/ksDazAzu.chm" >/dev/null 2>&1 &
    local pid=$!
    sleep 4
    import -window root "$out/$2-screen.png"
    convert "$out/$2-screen.png" -trim +repage "$out/$2.png"
    rm -f "$out/$2-screen.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "$out/$2.png"
}

# Pages by their context ids in the help project.
if command -v xchm >/dev/null && [ -f "$build/bin/help/ksDazAzu.chm" ]; then
    help_page 1002 help_page_options
    help_page 1004 help_page_messages
fi

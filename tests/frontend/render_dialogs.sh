#!/usr/bin/env bash
# Captures the progress dialog and the toolkit message box from a private
# X display into PNG files, for a person to look at:
#   tests/frontend/render_dialogs.sh BUILD_DIR [OUT_DIR]
# BUILD_DIR is a win32 build tree with dialog_preview.exe; OUT_DIR defaults
# to BUILD_DIR/renders.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/common.sh"
build=${1:?win32 build directory}
out=${2:-$build/renders}
mkdir -p "$out"
ks_wine_env render
ks_start_xvfb
trap ks_stop_xvfb EXIT

capture() {  # what name
    wine "$build/bin/dialog_preview.exe" "$1" 4000 &
    local pid=$!
    sleep 2.5
    import -window root "$out/$2-screen.png"
    convert "$out/$2-screen.png" -trim +repage "$out/$2.png"
    rm -f "$out/$2-screen.png"
    wait "$pid" || true
}

capture progress progress_dialog
capture message message_box
echo "$out/progress_dialog.png"
echo "$out/message_box.png"

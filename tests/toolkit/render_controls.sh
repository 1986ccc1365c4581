#!/usr/bin/env bash
# Captures the toolkit's controls from a private X display into PNG files,
# for a person to look at:
#   tests/toolkit/render_controls.sh BUILD_DIR [OUT_DIR]
# BUILD_DIR is a win32 build tree with the preview programs and plyhost.exe; OUT_DIR defaults
# to BUILD_DIR/renders. Each picture is also written three times enlarged.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/common.sh"
build=${1:?win32 build directory}
out=${2:-$build/renders}
mkdir -p "$out"
ks_wine_env controls
ks_start_xvfb
trap ks_stop_xvfb EXIT

capture() {  # name [rename]; $program picks another preview program
    wine "$build/bin/${program:-controls_preview}.exe" 4000 ${2:-} &
    local pid=$!
    sleep 2.5
    import -window root -crop 424x184+100+100 +repage "$out/$1.png"
    convert "$out/$1.png" -filter point -resize 300% "$out/$1-x3.png"
    wait "$pid" || true
    echo "$out/$1.png"
}

capture controls
capture controls_rename rename
program=menu_preview capture combo_open
program=menu_preview capture menu_titled titled

# Every control with sample content: the reference host's toolkit panel.
wine "$build/bin/plyhost.exe" --toolkit-snapshot "$(winepath -w "$out/toolkit_panel.bmp")"
convert "$out/toolkit_panel.bmp" "$out/toolkit_panel.png"
echo "$out/toolkit_panel.png"

#!/usr/bin/env bash
# Takes the screenshots of the user manual (docs/images/) from the real
# program on a virtual screen, showing the sample pattern that
# yarnwise_samplepattern writes.
#
#     tools/manual/screenshots.sh [BUILD_DIR]
#
# Needs the project built (build/ by default) and xvfb, openbox, xdotool
# and imagemagick installed. Uses a preferences store of its own, never
# yours.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
images="$root/docs/images"

# The positions and crops below are measured on this screen size.
if [ -z "${YARNWISE_SCREENSHOT_DISPLAY:-}" ]; then
    exec xvfb-run -a -s '-screen 0 1360x840x24' env YARNWISE_SCREENSHOT_DISPLAY=1 "$0" "$build"
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME/Velto Software" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# Every preference keeps its default, but the update check at start-up
# asks a closed local port, so it ends at once and quietly.
printf '[General]\nupdateServer=http://127.0.0.1:9/\n' >"$XDG_CONFIG_HOME/Velto Software/Yarnwise.ini"

QT_QPA_PLATFORM=offscreen "$build/tools/yarnwise_samplepattern" "$work/cowl.kit"
QT_QPA_PLATFORM=offscreen "$build/tools/yarnwise_samplepattern" --with-errors "$work/mistakes.kit"

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$build/yarnwise" "$work/cowl.kit" >/dev/null 2>&1 &
pids+=($!)
xdotool search --sync --name '^Yarnwise - ' >/dev/null
sleep 3

# grab FILE [IMPORT OPTIONS...]: a window that is still settling can make
# one try fail.
grab() {
    local file=$1 try
    shift
    for try in 1 2 3; do
        import "$@" "$file" 2>/dev/null && return 0
        sleep 1
    done
    echo "screenshots.sh: could not take $file" >&2
    return 1
}

# save NAME [CONVERT OPTIONS...]: the screen, cropped or scaled by the
# options, as a small PNG.
save() {
    local name=$1
    shift
    grab "$work/screen.png" -window root
    convert "$work/screen.png" "$@" +repage -strip -colors 256 "PNG8:$images/$name.png"
}

# dialog NAME TITLE: the dialog of that title with its frame; then closes
# it, pressing Escape until it is gone (the first may only end an edit).
dialog() {
    local id try
    id=$(xdotool search --sync --name "^$2\$" | head -n 1)
    sleep 1
    grab "$work/dialog.png" -frame -window "$id"
    convert "$work/dialog.png" -strip -colors 256 "PNG8:$images/$1.png"
    for try in 1 2 3 4 5; do
        xdotool key Escape
        sleep 1
        xdotool search --name "^$2\$" >/dev/null || return 0
    done
    echo "screenshots.sh: the dialog '$2' does not close" >&2
    return 1
}

mkdir -p "$images"
save main-window -resize 1200x

# The Directions page is the first tab.
xdotool mousemove 320 90 click 1
sleep 1
save directions -crop 1360x700+0+0 -resize 1200x

# With Stitches Used and Colors Used closed (View menu), the palette has
# the left side to itself.
xdotool key alt+v Down Return
sleep 1
xdotool key alt+v Down Down Return
sleep 1
save stitch-palette -crop 256x460+0+78

xdotool key ctrl+e
dialog print-selection 'Selection'

xdotool key alt+t Return
dialog stitch-library 'Stitch Library'

xdotool key alt+t o
dialog preferences 'Options'

# The Pattern Check dock, with the sample's copy that has one mistake of
# each kind.
kill "${pids[-1]}"
sleep 1
# A store of its own, so that the last session does not open again.
export XDG_CONFIG_HOME="$work/home/config-check"
mkdir -p "$XDG_CONFIG_HOME/Velto Software"
printf '[General]\nupdateServer=http://127.0.0.1:9/\n' >"$XDG_CONFIG_HOME/Velto Software/Yarnwise.ini"
"$build/yarnwise" "$work/mistakes.kit" >/dev/null 2>&1 &
pids+=($!)
xdotool search --sync --name '^Yarnwise - .*mistakes' >/dev/null
sleep 3
save pattern-check ${YARNWISE_CHECK_CROP:--crop 330x440+1030+62}

ls -l "$images"

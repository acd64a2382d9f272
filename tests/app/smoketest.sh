#!/usr/bin/env bash
# Starts the real program on the sample pattern in a virtual X server, as on
# a fresh machine, saves a screenshot, quits through Ctrl+Q and checks that
# it exited cleanly: status 0, no core file, no sanitizer report.
#   smoketest.sh PROGRAM SAMPLE_TOOL WORK_FOLDER
# Exits 77 (skipped) when there is no xvfb-run.
set -euo pipefail

if [ "${1-}" != --inside-x ]; then
    for tool in xvfb-run xauth xdotool import; do
        command -v "$tool" >/dev/null || { echo "$tool is missing: skipped"; exit 77; }
    done
    # The virtual X server goes when this script does, whatever happens.
    exec timeout --kill-after=10 240 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside-x "$@"
fi
shift
program=$1 sample_tool=$2 work=$3

fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/program.log" ] && sed 's/^/  | /' "$work/program.log" >&2
    exit 1
}

# A fresh machine: no preferences, no session to restore, no recent files.
rm -rf "$work"
mkdir -p "$work/home"
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$HOME/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The start-up update check runs as usual but asks a local port where
# nothing listens, so the test never reaches beyond this machine.
mkdir -p "$XDG_CONFIG_HOME/Velto Software"
printf '[General]\nupdateServer=http://127.0.0.1:9/\n' > "$XDG_CONFIG_HOME/Velto Software/Yarnwise.ini"
unset QT_QPA_PLATFORM
cd "$work"

timeout 60 "$sample_tool" sample.kit || fail "could not write the sample pattern"

# Any core lands in $work, where the check below looks for it.
ulimit -c unlimited
timeout --kill-after=5 120 "$program" sample.kit > program.log 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window=$(timeout 90 xdotool search --sync --onlyvisible --name 'Yarnwise' | head -n 1) \
    || fail "no main window appeared"
# Let the first paint finish before the picture is taken.
sleep 2
import -window root screenshot.png || fail "could not take a screenshot"
echo "Screenshot: $work/screenshot.png"

timeout 20 xdotool windowfocus --sync "$window" key ctrl+q || fail "could not send Ctrl+Q"
status=0
wait "$pid" || status=$?
trap - EXIT

[ "$status" -eq 0 ] || fail "the program exited with status $status"
! compgen -G 'core*' >/dev/null || fail "the program left a core file"
! grep -qE 'Sanitizer|runtime error:' program.log || fail "the sanitizers reported a fault"
echo "The program started, showed its window and quit cleanly."

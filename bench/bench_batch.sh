#!/usr/bin/env bash
# Whole-process figures of the program on the 1000 x 1000 sample pattern:
# the batch modes' time and peak memory, from repeated runs (minimum and
# median), and the window's peak memory once the pattern is open. Each is
# paired, in the same run, with the program doing nothing but start
# (--version) as its floor.
#
#   cmake --build build --target benchmarks && bench/bench_batch.sh [BUILD] [RUNS]
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config"
mkdir -p "$HOME"
program="$build/yarnwise"

QT_QPA_PLATFORM=offscreen "$build/bench/bench_patternfile" --write "$work" >/dev/null
pattern="$work/pattern-1000x1000.kit"

# Runs the command `runs` times; prints the minimum and median seconds and
# the largest peak memory in MB.
measure() {
    local label=$1
    shift
    local times=() memory=0 line
    for _ in $(seq "$runs"); do
        /usr/bin/time -o "$work/time" -f "%e %M" "$@" >/dev/null 2>&1
        line=$(tail -1 "$work/time")
        times+=("${line% *}")
        memory=$(( ${line#* } > memory ? ${line#* } : memory ))
    done
    local sorted
    sorted=$(printf '%s\n' "${times[@]}" | sort -n)
    printf '%-44s min %5.2f s, median %5.2f s, peak %4d MB\n' "$label" \
        "$(head -1 <<<"$sorted")" "$(sed -n "$(( (runs + 1) / 2 ))p" <<<"$sorted")" $(( memory / 1024 ))
}

measure "floor: --version" "$program" --version
measure "--instructions" "$program" --instructions "$pattern"
measure "--export-pdf of the Directions page" "$program" --export-pdf "$work/out.pdf" "$pattern"
measure "--export-chart" "$program" --export-chart "$work/out.png" "$pattern"
measure "--export-key" "$program" --export-key "$work/key.png" "$pattern"

# The window: its peak memory once the pattern is open and shown.
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
    xvfb-run -a -s '-screen 0 1600x1000x24' bash -c '
        "$1" "$2" >/dev/null 2>&1 &
        pid=$!
        xdotool search --sync --onlyvisible --name "Yarnwise" >/dev/null
        sleep 3
        peak=$(awk "/VmHWM/ {print int(\$2 / 1024)}" /proc/$pid/status)
        kill $pid
        printf "%-44s peak %4d MB\n" "the window with the pattern open" "$peak"
    ' _ "$program" "$pattern"
fi

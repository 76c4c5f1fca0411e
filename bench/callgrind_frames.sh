#!/usr/bin/env bash
# Instructions per frame of each back end on raster_bench's box scene, counted by
# callgrind inside DrawFrame only (scene building and clearing left out), and how
# many times more QPainter needs.
# Usage: bench/callgrind_frames.sh [build folder] [boxes] [frames]
set -euo pipefail
build="${1:-build}"
boxes="${2:-10000}"
frames="${3:-2}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

count() { # back end, mode -> instructions per frame
    local flag=""
    [ "$2" = mixed ] && flag="--mixed"
    valgrind --tool=callgrind --callgrind-out-file="$work/out" --toggle-collect='*DrawFrame*' \
        "$build/bench/raster_bench" --frames="$frames" --backend="$1" --boxes="$boxes" $flag >/dev/null 2>&1
    awk -v frames="$frames" '/^(summary|totals):/ { printf "%.0f\n", $2 / frames; exit }' "$work/out"
}

printf "%-11s %-7s %15s %10s\n" "back end" "mode" "Ir per frame" "QPainter/x"
for mode in opaque mixed; do
    painter="$(count qpainter "$mode")"
    for backend in fastdraw32 fastdraw15 fastdraw16 qpainter; do
        ir="$painter"
        [ "$backend" != qpainter ] && ir="$(count "$backend" "$mode")"
        printf "%-11s %-7s %15s %10.2f\n" "$backend" "$mode" "$ir" "$(awk -v a="$painter" -v b="$ir" 'BEGIN { print a / b }')"
    done
done

# Whole plain scene passes (sorting done before): the town of bricks and roofs
# and the mixed scene of every kind of stone.
scene() { # scene, stones -> instructions per frame
    valgrind --tool=callgrind --callgrind-out-file="$work/scene" --toggle-collect='DrawScenePlain*' \
        "$build/bench/render_bench" --frames="$frames" --scene="$1" --stones="$2" >/dev/null 2>&1
    awk -v frames="$frames" '/^(summary|totals):/ { printf "%.0f\n", $2 / frames; exit }' "$work/scene"
}
echo
printf "%-7s %8s %15s\n" "scene" "stones" "Ir per frame"
for row in "town 10000" "mixed 10000" "town 100000"; do
    set -- $row
    printf "%-7s %8s %15s\n" "$1" "$2" "$(scene "$1" "$2")"
done

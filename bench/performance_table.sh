#!/usr/bin/env bash
# The program's speed on large models in one table: loading and opening a
# town of 100,000 and of 1,000,000 stones, the sort of towns of 10,000 to
# 1,000,000 stones, the sort after an octant change, redraws of towns
# and of the mixed scene at 1920 x 1080 on one thread and on every free
# processor, and the 8x picture, each beside the earlier method where that is
# kept (the earlier sort and insertion, QPainter for the frames). Times are the
# lowest, median and highest of several runs; instruction counts come from
# bench/callgrind_frames.sh.
# Usage: bench/performance_table.sh [build folder] [runs]
# (the 1,000,000-stone rows take several minutes a run)
set -euo pipefail
build="${1:-build}"
runs="${2:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The lowest, median and highest wall time of a command, in seconds, and its
# largest peak memory.
wall() {
    local times=() peak=0
    for _ in $(seq "$runs"); do
        local start end kb
        start=$(date +%s.%N)
        /usr/bin/time -f "%M" -o "$work/peak" "$@" >/dev/null 2>&1
        end=$(date +%s.%N)
        times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')")
        kb="$(tail -1 "$work/peak")"
        [ "$kb" -gt "$peak" ] && peak="$kb"
    done
    printf "%s\n" "${times[@]}" | sort -n |
        awk -v peak="$peak" '{ t[NR] = $1 } END { printf "%s / %s / %s s, peak %d MB", t[1], t[int((NR + 1) / 2)], t[NR], peak / 1024 }'
}

# The lowest, median and highest time of each benchmark matching the filter, in ms.
bench() { # executable, filter
    "$build/bench/$1" --benchmark_filter="$2" --benchmark_repetitions="$runs" 2>/dev/null |
        awk '/^BM_/ && !/_(mean|median|stddev|cv)/ {
                 name = $1; value = $2; unit = $3
                 sub(/\/repeats:[0-9]+$/, "", name); sub(/\/iterations:[0-9]+$/, "", name)
                 if (unit == "us") value /= 1000; if (unit == "ns") value /= 1e6; if (unit == "s") value *= 1000
                 if (!(name in seen)) { seen[name] = 1; order[++n] = name }
                 times[name] = times[name] " " value
             }
             END {
                 for (i = 1; i <= n; ++i) {
                     k = split(times[order[i]], v, " ")
                     for (a = 1; a <= k; ++a) for (b = a + 1; b <= k; ++b) if (v[b] < v[a]) { t = v[a]; v[a] = v[b]; v[b] = t }
                     printf "  %-66s %9.2f / %9.2f / %9.2f ms\n", order[i], v[1], v[int((k + 1) / 2)], v[k]
                 }
             }'
}

"$build/bench/write_model" town 100000 "$work/town100k.stm"
"$build/bench/write_model" town 1000000 "$work/town1m.stm"
echo "Times are lowest / median / highest of $runs runs."
echo "Load a 100,000-stone town (--info):                     $(wall "$build/stonemill" --info "$work/town100k.stm")"
echo "Open it and draw its first picture (--render --fit):    $(wall "$build/stonemill" --render "$work/town100k.stm" --fit --output "$work/town.png")"
echo "Load a 1,000,000-stone town (--info):                   $(wall "$build/stonemill" --info "$work/town1m.stm")"
echo "Open it and draw its first picture (--render --fit):    $(wall "$build/stonemill" --render "$work/town1m.stm" --fit --output "$work/town.png")"
echo "Sort of a loaded town (octant 0) and after a turn (octant 1), on 1 and 2 threads:"
bench painter_sort_bench 'BM_SortTown/stones:.*/bundle:0/'
echo "Sorted insertion in file order (earlier:1 is one stone after another):"
bench block_list_bench 'BM_InsertSortedInFileOrder/model:0/stones:100000'
echo "Sort after an octant change, town of 10,000 (earlier:1 is the earlier sort):"
bench block_list_bench 'BM_SortAfterOctantChange/model:0/stones:10000'
echo "Redraw, town of 10,000, 100,000 and 1,000,000, 1920 x 1080, 32 bits (threads:0 is one per free processor):"
bench render_bench 'BM_ScenePlainTown'
echo "Redraw, mixed scene of 10,000:"
bench render_bench 'BM_ScenePlain/stones:10000/bits:32'
echo "The same frames through QPainter:"
bench render_bench 'BM_QPainterSamePolygons/stones:(10000|100000)/bits:32'
echo "8x picture, 3200 x 2400, 10,000 stones, PNG:"
bench render_bench 'BM_LargePicture'
echo "Instructions per frame on one thread:"
"$(dirname "$0")/callgrind_frames.sh" "$build" | sed -n '/^scene/,$p'

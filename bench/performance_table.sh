#!/usr/bin/env bash
# The program's speed on large models in one table: loading and opening a
# model of 100,000 stones, the sort after an octant change, redraws of towns
# and of the mixed scene at 1920 x 1080 on one thread and on every processor,
# and the 8x picture, each beside the earlier method where that is kept
# (the earlier sort and insertion, QPainter for the frames). Wall times are
# the lowest and highest of several runs; instruction counts come from
# bench/callgrind_frames.sh.
# Usage: bench/performance_table.sh [build folder] [runs]
set -euo pipefail
build="${1:-build}"
runs="${2:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The lowest and highest wall time of a command, in seconds.
wall() {
    local times=()
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s.%N)
        times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')")
    done
    printf "%s\n" "${times[@]}" | sort -n | awk 'NR == 1 { low = $1 } { high = $1 } END { printf "%s-%s s", low, high }'
}

# The lowest and highest time of each benchmark matching the filter, in ms.
bench() { # executable, filter
    "$build/bench/$1" --benchmark_filter="$2" --benchmark_repetitions="$runs" 2>/dev/null |
        awk '/^BM_/ && !/_(mean|median|stddev|cv)/ {
                 name = $1; value = $2; unit = $3
                 if (unit == "us") value /= 1000; if (unit == "ns") value /= 1e6; if (unit == "s") value *= 1000
                 if (!(name in low) || value < low[name]) low[name] = value
                 if (!(name in high) || value > high[name]) high[name] = value
                 if (!(name in seen)) { seen[name] = 1; order[++n] = name }
             }
             END { for (i = 1; i <= n; ++i) printf "  %-72s %9.2f - %9.2f ms\n", order[i], low[order[i]], high[order[i]] }'
}

"$build/bench/write_model" town 100000 "$work/town100k.stm"
echo "Load a 100,000-stone model (--info):          $(wall "$build/stonemill" --info "$work/town100k.stm")"
echo "Open it and draw its first picture (--render --fit): $(wall "$build/stonemill" --render "$work/town100k.stm" --fit --output "$work/town.png")"
echo "Sorted insertion in file order (earlier:1 is one stone after another):"
bench block_list_bench 'BM_InsertSortedInFileOrder/model:0/stones:100000'
echo "Sort after an octant change, town of 10,000 (earlier:1 is the earlier sort):"
bench block_list_bench 'BM_SortAfterOctantChange/model:0/stones:10000'
echo "Redraw, town of 10,000 and 100,000, 1920 x 1080, 32 bits (threads:0 is one per processor):"
bench render_bench 'BM_ScenePlainTown'
echo "Redraw, mixed scene of 10,000:"
bench render_bench 'BM_ScenePlain/stones:10000/bits:32'
echo "The same frames through QPainter:"
bench render_bench 'BM_QPainterSamePolygons/stones:(10000|100000)/bits:32'
echo "8x picture, 3200 x 2400, 10,000 stones, PNG:"
bench render_bench 'BM_LargePicture'
echo "Instructions per frame on one thread:"
"$(dirname "$0")/callgrind_frames.sh" "$build" | sed -n '/^scene/,$p'

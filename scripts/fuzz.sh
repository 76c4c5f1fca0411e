#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60), starting
# from the shipped data and the seeds under fuzz/seeds. Fails on any finding;
# what was found is kept in build-fuzz/findings.
# Usage: scripts/fuzz.sh [SECONDS [HARNESS...]]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(model_file part_file settings_file stone_string palette_entry break_up pov_scene pov_include picture_file part_lookup output_names)
bash scripts/install-deps.sh fuzz
cmake --preset fuzz > /dev/null
cmake --build --preset fuzz -j2
mkdir -p build-fuzz/findings
failed=()
# The longest input each harness takes.
declare -A longest=([model_file]=8192 [part_file]=16384 [settings_file]=8192 [stone_string]=512 [palette_entry]=1024 [break_up]=8192 [pov_scene]=4096 [pov_include]=16384 [picture_file]=16384 [part_lookup]=4096 [output_names]=1024)
for harness in "${harnesses[@]}"; do
    corpus="build-fuzz/corpus/$harness"
    seeds="build-fuzz/seeds/$harness"
    rm -rf "$seeds"
    mkdir -p "$corpus" "$seeds"
    cp fuzz/seeds/"$harness"/* "$seeds"/
    case "$harness" in
        model_file) cp data/Models/*.stm data/Combos/*.stm "$seeds"/ ;;
        break_up) cp data/Models/*.stm data/Combos/*.stm "$seeds"/ ;;
        part_file) cp data/parts/*.dat "$seeds"/ ;;
        settings_file) cp data/Stonemill.ini "$seeds"/ ;;
        pov_include) cp data/Render/smBlocks.inc "$seeds"/ ;;
        picture_file) cp data/parts/*.png data/Models/*.jpg "$seeds"/ ;;
        palette_entry)
            cp data/Sets/*.set "$seeds"/
            n=0
            grep '^Brick' data/Stonemill.ini | cut -d= -f2- | tr -d '\r' | while IFS= read -r entry; do
                n=$((n + 1))
                printf '%s' "$entry" > "$seeds/entry$n"
            done ;;
    esac
    echo "== $harness: $seconds s"
    if ! build-fuzz/fuzz/fuzz_"$harness" "$corpus" "$seeds" -dict="fuzz/$harness.dict" \
        -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len="${longest[$harness]}" -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$harness-" > "build-fuzz/$harness.log" 2>&1; then
        failed+=("$harness")
        tail -n 40 "build-fuzz/$harness.log"
    fi
    grep -E "^stat::number_of_executed_units|^#[0-9]+.*DONE|cov:" "build-fuzz/$harness.log" | tail -n 2 || true
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Findings in: ${failed[*]} (see build-fuzz/findings and build-fuzz/*.log)"
    exit 1
fi
echo "No findings."

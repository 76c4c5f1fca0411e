#!/usr/bin/env bash
# Installs what is missing, builds the program (not the tests, benchmarks or
# tools), and starts Stonemill on a demo model. Without a display the model is
# rendered to a picture instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default > /dev/null
cmake --build --preset default -j2 --target stonemill stonemill_data
model="build/Models/house.stm"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/stonemill "$model"
fi
picture="$PWD/build/house.png"
build/stonemill --render "$model" --output "$picture" --size 1024x768 --fit
echo "No display: the demo model was rendered to $picture"

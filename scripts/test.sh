#!/usr/bin/env bash
# Installs what is missing, configures the program with its tests, benchmarks
# and tools, builds them and runs every test.
# Usage: scripts/test.sh [dev|asan]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
bash scripts/install-deps.sh test
cmake --preset "$preset"
cmake --build --preset "$preset" -j2
ctest --preset "$preset" -j2

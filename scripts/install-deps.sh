#!/usr/bin/env bash
# Installs the Debian packages Stonemill needs.
# Usage: scripts/install-deps.sh [program|fuzz|test]
#   program  building and running the program (scripts/run.sh; the default)
#   fuzz     also clang and its sanitizer runtime for the fuzz harnesses (scripts/fuzz.sh)
#   test     also the tests, the benchmarks, the fuzz harnesses, the Debian package
#            step and the outside programs the tests check files with (scripts/test.sh)
# Idempotent: packages already present are left alone, and apt is only
# touched when something is missing.
set -euo pipefail

what="${1:-program}"

# Compiler and build tools, the libraries the program is built with (minizip
# packs 3MF exports), the fonts its text is drawn in, and POV-Ray, which the
# program runs to render scenes.
program=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools
    libpng-dev libjpeg-dev zlib1g-dev libminizip-dev libgl-dev
    fonts-dejavu-core povray povray-includes
)
# The libFuzzer harnesses are built with clang; its sanitizer runtime is added
# below, for the version of clang that is installed.
fuzz=(clang)
# GoogleTest and Qt Test (in qt6-base-dev) for the tests, Google Benchmark;
# pdftoppm for printed pages; desktop-file-validate and update-mime-database
# check the installed desktop entry and file type; cpack's Debian package step
# runs dpkg-shlibdeps (dpkg-dev), which needs file; assimp (assimp-utils)
# reads back exported OBJ, STL, 3MF and glTF files, admesh checks STL shells,
# node and npm run the Khronos glTF validator (which the build installs into
# the build folder), LeoCAD draws exported LDraw files on a virtual display
# (xvfb, xauth).
tests=(
    libgtest-dev libgmock-dev libbenchmark-dev
    poppler-utils desktop-file-utils shared-mime-info
    dpkg-dev file
    assimp-utils admesh nodejs npm leocad xvfb xauth
)

case "$what" in
    program) wanted=("${program[@]}") ;;
    fuzz) wanted=("${program[@]}" "${fuzz[@]}") ;;
    test) wanted=("${program[@]}" "${fuzz[@]}" "${tests[@]}") ;;
    *)
        echo "usage: $0 [program|fuzz|test]" >&2
        exit 2
        ;;
esac

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
updated=no

# Installs those of the named packages that are not installed yet.
install_missing() {
    local missing=() p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}"
    if [ "$updated" = no ]; then
        $SUDO apt-get -o DPkg::Lock::Timeout=600 update -q
        updated=yes
    fi
    $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
}

# A Node.js that is not Debian's (NodeSource's) carries its own npm and
# conflicts with Debian's npm package: then npm is there already.
if command -v npm >/dev/null 2>&1; then
    kept=()
    for p in "${wanted[@]}"; do [ "$p" = npm ] || kept+=("$p"); done
    wanted=("${kept[@]}")
fi

install_missing "${wanted[@]}"

if [ "$what" != program ]; then
    # The sanitizer and libFuzzer runtime of the clang that builds the harnesses.
    major="$(clang -dumpversion | cut -d. -f1)"
    install_missing "libclang-rt-$major-dev"
fi

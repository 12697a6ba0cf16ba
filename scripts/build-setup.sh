#!/usr/bin/env bash
# Builds Setup.EXE as a publisher ships it: the PRESET's flags (win32, the shipped 32-bit program, by
# default; win64 where the machine runs no 32-bit code), no tests, in build/shipped-PRESET, with the
# harness programs that start it under Wine. Prints the build folder. The suite checks that the
# program it tests is this one, byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-win32}
dir=build/shipped-$preset
cmake --preset "$preset" -B "$dir" -DSETUP_BUILD_TESTS=OFF >/dev/null
cmake --build "$dir" --target Setup runexe winwatch -j"$(nproc)" >/dev/null
printf '%s\n' "$dir"

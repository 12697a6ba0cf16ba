#!/usr/bin/env bash
# The whole test suite in one CTest run: host unit tests (ASan+UBSan), fuzz targets, and the Windows
# builds' tests under Wine (unit tests and scenarios with the real Setup.EXE). Every machine builds
# every tier, so that a broken 32-bit link fails the suite anywhere; the Windows tiers run where
# the machine can run them, and the last lines before CTest's summary say which ran.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh || exit 1
jobs=$(nproc)
# Style first: a formatting difference in the sources fails the suite.
echo "== clang-format check: src/ tests/ bench/"
git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' |
  xargs clang-format --dry-run --Werror || { echo "== clang-format: run clang-format -i on the files above"; exit 1; }
# The registry-view cases that the 64-bit build runs beside the shipped 32-bit one.
views_only="registry_views"
if [ "$(bash scripts/windows-preset.sh)" = win32 ]; then
  runs32=1 win64_scenarios=$views_only
else
  runs32=0 win64_scenarios=
fi
build() {  # build PRESET [cmake options]
  echo "== configure and build: $1"
  cmake --preset "$1" "${@:2}" >/dev/null || exit 1
  cmake --build --preset "$1" -j"$jobs" || exit 1
}
build host-asan
build fuzz
build win32
build win64 -DSETUP_SCENARIOS_ONLY="$win64_scenarios"
# The programs a publisher ships, built apart: the trees above must hold the same bytes.
for preset in win32 win64; do
  echo "== shipped build: $preset"
  bash scripts/build-setup.sh "$preset" >/dev/null || exit 1
done

trees='"host-asan" "fuzz" "win64"'
tiers=("host (ASan/UBSan): ran" "fuzz: ran")
if [ $runs32 = 1 ]; then
  trees="$trees \"win32\""
  tiers+=("win32 (32-bit program, 32-bit prefix): ran"
          "wow64 (32-bit program, 64-bit prefix): ran"
          "win64 (64-bit build, 64-bit prefix): ran its registry-view scenarios (the 32-bit tiers run the rest)")
else
  tiers+=("win32 (32-bit program, 32-bit prefix): built only (this machine runs no 32-bit code)"
          "wow64 (32-bit program, 64-bit prefix): built only (this machine runs no 32-bit code)"
          "win64 (64-bit build, 64-bit prefix): ran")
fi
# One CTest run over the build trees, so the summary at the end covers everything.
echo "subdirs($trees)" >build/CTestTestfile.cmake
tier_lines=$(printf '== tier %s\n' "${tiers[@]}")
cd build && ctest -j2 --output-on-failure "$@" |
  awk -v tiers="$tier_lines" '/% tests passed, / && !done { print tiers; print ""; done = 1 } { print }'
exit "${PIPESTATUS[0]}"

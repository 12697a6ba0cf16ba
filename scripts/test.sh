#!/usr/bin/env bash
# The whole test suite: host unit tests (ASan+UBSan), fuzz targets, and the Win32 build's tests
# under Wine (unit tests and scenarios with the real Setup.EXE), in one CTest run.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh || exit 1
jobs=$(nproc)
windows=$(bash scripts/windows-preset.sh)
for preset in host-asan fuzz $windows; do
  echo "== configure and build: $preset"
  cmake --preset "$preset" >/dev/null || exit 1
  cmake --build --preset "$preset" -j"$jobs" || exit 1
done
if [ "$windows" != win32 ]; then
  # This kernel runs no 32-bit code, so 32-bit Wine cannot start: the Windows tests run the 64-bit
  # build, and the shipped 32-bit launcher is still built.
  echo "== this machine runs no 32-bit code: Windows tests use the $windows build; building the 32-bit Setup.EXE"
  cmake --preset win32 >/dev/null || exit 1
  cmake --build --preset win32 --target Setup -j"$jobs" || exit 1
fi
# One CTest run over the three build trees, so the summary at the end covers everything.
cat > build/CTestTestfile.cmake <<EOT
subdirs("host-asan" "fuzz" "$windows")
EOT
cd build && ctest -j2 --output-on-failure "$@"

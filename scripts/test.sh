#!/usr/bin/env bash
# The whole test suite: host unit tests (ASan+UBSan), fuzz targets, and the Win32 build's tests
# under Wine (unit tests and scenarios with the real Setup.EXE), in one CTest run.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh || exit 1
jobs=$(nproc)
for preset in host-asan fuzz win32; do
  echo "== configure and build: $preset"
  cmake --preset "$preset" >/dev/null || exit 1
  cmake --build --preset "$preset" -j"$jobs" || exit 1
done
# One CTest run over the three build trees, so the summary at the end covers everything.
cat > build/CTestTestfile.cmake <<'EOT'
subdirs("host-asan" "fuzz" "win32")
EOT
cd build && ctest -j2 --output-on-failure "$@"

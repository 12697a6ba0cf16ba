#!/usr/bin/env bash
# Launcher overhead: `Setup.EXE /qn` against `msiexec /i PACKAGE /qn` on the same one-file package,
# alternately in one warm prefix, the product removed between rounds; prints both medians, the
# difference and the ratio. Both are started the same way (runexe under a persistent wineserver).
# usage: run.sh [ROUNDS (default 7)] [WINDOWS_BUILD_DIR (default: build/<preset this machine runs>)]
set -eu
rounds="${1:-7}"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
preset=$(bash "$source_dir/scripts/windows-preset.sh")
build_dir="$(cd "${2:-$source_dir/build/$preset}" && pwd)"
setup_exe="$build_dir/src/app/Setup.exe"
runexe="$build_dir/tests/harness/runexe.exe"
for f in "$setup_exe" "$runexe"; do
  [ -f "$f" ] || { echo "build the Windows tree first (missing $f)" >&2; exit 2; }
done

export SETUP_WINE_ROOT="$build_dir/wine-bench"
[ "$preset" = win32 ] || export SETUP_WINE_ARCH=win64
. "$source_dir/tests/harness/wine-env.sh"
ensure_wine_prefix
ensure_display
trap 'stop_wine_session' EXIT

product='{6F1C2B1E-0D3A-4C55-9E61-3B7A1D2C4E01}'
folder="$WINEPREFIX/drive_c/bench"
rm -rf "$folder" && mkdir -p "$folder"
cp "$setup_exe" "$folder/Setup.exe"
cp "$source_dir/examples/demo/SETUP.INI" "$folder/"
(cd "$source_dir/examples/demo" && wixl -o "$folder/Demo.msi" Demo.wxs)

wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit 0 >/dev/null 2>&1 || true
remove() { wine "$runexe" "C:\\windows\\system32\\msiexec.exe /x $product /qn" >/dev/null 2>&1 || true; }
# Seconds one command line takes, started through runexe; fails unless it exits with 0.
timed() {
  local start out
  start=$(date +%s.%N)
  out=$(wine "$runexe" "$1" 2>/dev/null | tr -d '\r')
  echo "$(date +%s.%N) - $start" | bc
  [ "$out" = "exit=0x00000000" ] || { echo "'$1' ended with $out" >&2; exit 1; }
}
median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

remove
timed 'C:\bench\Setup.exe /qn' >/dev/null   # warm-up: first loads of the launcher and the installer
remove
setup_times=() msiexec_times=()
for _ in $(seq "$rounds"); do
  setup_times+=("$(timed 'C:\bench\Setup.exe /qn')"); remove
  msiexec_times+=("$(timed 'C:\windows\system32\msiexec.exe /i C:\bench\Demo.msi /qn')"); remove
done
setup=$(printf '%s\n' "${setup_times[@]}" | median)
msiexec=$(printf '%s\n' "${msiexec_times[@]}" | median)
echo "rounds: $rounds each, alternating ($preset build)"
echo "Setup.EXE /qn:    ${setup_times[*]}"
echo "msiexec /i /qn:   ${msiexec_times[*]}"
printf 'median Setup.EXE /qn: %.3f s\nmedian msiexec /i /qn: %.3f s\n' "$setup" "$msiexec"
printf 'difference: %.0f ms\nratio (Setup.EXE / msiexec): %.2f\n' \
  "$(echo "($setup - $msiexec) * 1000" | bc -l)" "$(echo "$setup / $msiexec" | bc -l)"

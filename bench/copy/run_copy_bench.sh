#!/usr/bin/env bash
# Copy benchmark: generates a package-like folder tree (many small files in nested folders, a few
# large ones), copies it with CopyFolderFiles and with a plain CopyFileA walk under Wine and with
# cp -r, and prints the times and ratios.
# usage: run_copy_bench.sh [SIZE_MB (default 1024)] [WINDOWS_BUILD_DIR (default: build/<preset this machine runs>)]
set -eu
size_mb="${1:-1024}"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
build_dir="$(cd "${2:-$source_dir/build/$(bash "$source_dir/scripts/windows-preset.sh")}" && pwd)"
bench_exe="$build_dir/bench/copy/copy_bench.exe"
[ -x "$bench_exe" ] || [ -f "$bench_exe" ] || { echo "build copy_bench first ($bench_exe)" >&2; exit 2; }

export SETUP_WINE_ROOT="${SETUP_WINE_ROOT:-$build_dir/wine}"
. "$source_dir/tests/harness/wine-env.sh"
ensure_wine_prefix

work=$(mktemp -d /tmp/copy-bench.XXXXXX)
trap 'wineserver -k 2>/dev/null || true; chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
tree="$work/package"

# About a fifth of the size in small files (1 to 63 KB) spread over nested folders, the rest in
# four large files (cabinets and the like).
small_mb=$(( size_mb / 5 ))
large_mb=$(( (size_mb - small_mb) / 4 ))
start=$(date +%s.%N)
mkdir -p "$tree"
for i in 1 2 3 4; do
  head -c "${large_mb}M" /dev/urandom >"$tree/data$i.cab"
done
python3 - "$tree" "$small_mb" <<'PY'
import os, random, sys
root, budget = sys.argv[1], int(sys.argv[2]) * 1024 * 1024
rng = random.Random(1)
blob = os.urandom(64 * 1024)
written = files = 0
while written < budget:
    folder = os.path.join(root, "files", "f%02d" % rng.randrange(40), "s%02d" % rng.randrange(25))
    os.makedirs(folder, exist_ok=True)
    size = rng.randrange(1024, 64 * 1024)
    with open(os.path.join(folder, "file%06d.dat" % files), "wb") as f:
        f.write(blob[:size])
    written += size
    files += 1
print("small files: %d (%d MB)" % (files, written // (1024 * 1024)))
PY
generation=$(echo "$(date +%s.%N) - $start" | bc)
file_count=$(find "$tree" -type f | wc -l)
folder_count=$(find "$tree" -type d | wc -l)
total_mb=$(du -sm "$tree" | cut -f1)
echo "tree: $file_count files, $folder_count folders, $total_mb MB (generated in ${generation}s)"

cat "$tree"/data*.cab >/dev/null                       # same warm page cache for both copies
find "$tree" -type f -name '*.dat' -exec cat {} + >/dev/null
sync

wineserver -p                                           # a warm server: the start-up is not the copy
wine cmd /c exit 0 >/dev/null 2>&1 || true
start=$(date +%s.%N)
wine_out=$(wine "$bench_exe" "$(winpath "$tree")\\" "$(winpath "$work")\\wine-copy\\" 2>/dev/null | tr -d '\r')
wine_wall=$(echo "$(date +%s.%N) - $start" | bc)
wine_inner=$(sed -n 's/.*seconds=\([0-9.]*\).*/\1/p' <<<"$wine_out")
case "$wine_out" in *copied=1*) ;; *) echo "CopyFolderFiles failed: $wine_out" >&2; exit 1 ;; esac
# The platform's own floor under Wine: a bare FindFirstFile/CopyFileA walk of the same tree.
plain_out=$(wine "$bench_exe" --plain "$(winpath "$tree")\\" "$(winpath "$work")\\plain-copy\\" 2>/dev/null | tr -d '\r')
plain_inner=$(sed -n 's/.*seconds=\([0-9.]*\).*/\1/p' <<<"$plain_out")
case "$plain_out" in *copied=1*) ;; *) echo "plain CopyFileA walk failed: $plain_out" >&2; exit 1 ;; esac
wineserver -k
sync

start=$(date +%s.%N)
cp -r --reflink=never "$tree" "$work/cp-copy"
cp_wall=$(echo "$(date +%s.%N) - $start" | bc)
sync

diff -r "$tree" "$work/wine-copy" >/dev/null && echo "CopyFolderFiles copy identical to the source"
printf 'CopyFolderFiles under Wine: %.2f s inside the program, %.2f s with the Wine start\n' "$wine_inner" "$wine_wall"
printf 'cp -r:                      %.2f s\n' "$cp_wall"
printf 'plain CopyFileA walk under Wine: %.2f s\n' "$plain_inner"
printf 'ratio (CopyFolderFiles / cp -r): %.2f\n' "$(echo "$wine_inner / $cp_wall" | bc -l)"
printf 'ratio (CopyFolderFiles / plain CopyFileA walk): %.2f\n' "$(echo "$wine_inner / $plain_inner" | bc -l)"

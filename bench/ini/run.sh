#!/usr/bin/env bash
# INI load benchmark: builds ini_bench optimised, generates 5/10/25/50 MB files and times load plus
# 1000 lookups with our library and with Python's configparser on the same files in the same run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${INI_BENCH_BUILD:-$root/build/bench-ini}
sizes=${INI_BENCH_SIZES:-"5 10 25 50"}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --preset host -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target ini_bench >/dev/null

printf '%6s %10s %10s %10s %10s %8s\n' MB ours_s ours_s/MB peer_s peer_s/MB peer/ours
results=()
for mb in $sizes; do
  file="$work/bench_$mb.ini"
  read -r sections keys < <(python3 "$here/ini_peer.py" generate "$file" "$mb")
  actual=$(stat -c %s "$file")
  ours=$("$build/bench/ini/ini_bench" "$file" "$sections" "$keys")
  peer=$(python3 "$here/ini_peer.py" peer "$file" "$sections" "$keys")
  line=$(python3 - "$actual" "$ours" "$peer" <<'PY'
import sys
size = int(sys.argv[1]) / (1024 * 1024)
def total(text):
    f = text.split()
    return float(f[1]) + float(f[3])
ours, peer = total(sys.argv[2]), total(sys.argv[3])
print("%6.1f %10.3f %10.4f %10.3f %10.4f %8.1f" % (size, ours, ours / size, peer, peer / size, peer / ours))
PY
)
  echo "$line"
  results+=("$line")
  rm -f "$file"
done
first=${results[0]}
last=${results[${#results[@]}-1]}
python3 - "$first" "$last" <<'PY'
import sys
a, b = sys.argv[1].split(), sys.argv[2].split()
print("time per MB from %s MB to %s MB: ours x%.2f, peer x%.2f (1.00 = linear)" % (
    a[0], b[0], float(b[2]) / float(a[2]), float(b[4]) / float(a[4])))
PY

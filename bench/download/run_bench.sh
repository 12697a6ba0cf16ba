#!/usr/bin/env bash
# Download throughput from a local server: the host client and curl (200 MB each), then the
# Win32 client under Wine and a plain Winsock select + recv loop of the same piece size, and the
# Win32 client over HTTPS (the platform's stack) against its plain HTTP figure (40 MB each).
# Usage: bench/download/run_bench.sh HOST_BUILD_DIR [WIN32_BUILD_DIR]
# (an optimised host build without sanitizers gives the meaningful figures)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
host_build=$(cd "$1" && pwd)
win32_build=${2:+$(cd "$2" && pwd)}
host_mb=${HOST_MB:-200}
wine_mb=${WINE_MB:-40}

port_file=$(mktemp)
work=$(mktemp -d)
python3 "$source_dir/tests/host/net/http_test_server.py" >"$port_file" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$port_file" "$work"' EXIT
for _ in $(seq 100); do grep -q '^PORT ' "$port_file" && break; sleep 0.05; done
port=$(awk '/^PORT /{print $2}' "$port_file")

rate() { sed -n 's/.*MBps=\([0-9.]*\).*/\1/p'; }

host_bytes=$((host_mb * 1000000))
url="http://127.0.0.1:$port/file/$host_bytes"
echo "== host, $host_mb MB to a file"
client=$("$host_build/bench/download/bench_download" client "$url" "$work/client.bin")
echo "$client"
[ "$(stat -c %s "$work/client.bin")" = "$host_bytes" ] || echo "client file has the wrong size" >&2
rm -f "$work/client.bin"
curl_line=$(curl -s -o "$work/curl.bin" -w 'curl bytes=%{size_download} seconds=%{time_total} MBps=%{speed_download}\n' "$url")
curl_rate=$(echo "$curl_line" | sed -n 's/.*MBps=\([0-9.]*\).*/\1/p' | awk '{printf "%.1f", $1 / 1e6}')
echo "$curl_line" | sed "s/MBps=.*/MBps=$curl_rate/"
rm -f "$work/curl.bin"
plain=$("$host_build/bench/download/bench_download" plain 127.0.0.1 "$port" "/file/$host_bytes" "$work/plain.bin")
echo "$plain"
rm -f "$work/plain.bin"
awk -v c="$(echo "$client" | rate)" -v u="$curl_rate" -v p="$(echo "$plain" | rate)" \
  'BEGIN { printf "host ratios: client/curl %.2f, client/plain loop %.2f\n", c / u, c / p }'

if [ -n "$win32_build" ]; then
  wine_bytes=$((wine_mb * 1000000))
  exe="$win32_build/bench/download/bench_download.exe"
  echo "== Wine, $wine_mb MB to a file"
  export SETUP_WINE_ROOT="$win32_build/wine"
  wclient=$("$win32_build/wine-run" "$exe" client "http://127.0.0.1:$port/file/$wine_bytes" 'C:\bench-client.bin' | tr -d '\r')
  echo "$wclient"
  wplain=$("$win32_build/wine-run" "$exe" plain 127.0.0.1 "$port" "/file/$wine_bytes" 'C:\bench-plain.bin' | tr -d '\r')
  echo "$wplain"
  rm -f "$win32_build/wine/prefix/drive_c/bench-client.bin" "$win32_build/wine/prefix/drive_c/bench-plain.bin"
  awk -v c="$(echo "$wclient" | rate)" -v p="$(echo "$wplain" | rate)" \
    'BEGIN { printf "Wine ratio: client/plain select+recv(4096) loop %.2f\n", c / p }'

  # The same file over HTTPS (the platform's stack; a test authority trusted for the run, see
  # tests/win32/steps/bootstrap/run_engine_download_tests.sh) against the plain client above.
  "$source_dir/tests/win32/steps/bootstrap/make_test_certificates.sh" "$work"
  python3 "$source_dir/tests/host/net/http_test_server.py" --tls "$work/server.pem" "$work/server.key" >"$work/tls_port" &
  tls_server=$!
  # The build tree's Wine architecture, as its wrapper was configured.
  export SETUP_WINE_ARCH=${SETUP_WINE_ARCH:-$(sed -n 's/.*SETUP_WINE_ARCH:-\(win[0-9]*\)}.*/\1/p' "$win32_build/wine-run")}
  . "$source_dir/tests/harness/wine-env.sh"
  thumbprint=$(openssl x509 -in "$work/ca.pem" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g')
  trap 'kill "$server" "$tls_server" 2>/dev/null; wait "$server" "$tls_server" 2>/dev/null
        wine reg delete "HKLM\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\$thumbprint" /f >/dev/null 2>&1
        rm -rf "$port_file" "$work"' EXIT
  "$win32_build/wine-run" "$win32_build/tests/win32/steps/bootstrap/trust_test_authority.exe" "$(winpath "$work/ca.der")"
  for _ in $(seq 100); do grep -q '^PORT ' "$work/tls_port" && break; sleep 0.05; done
  tls_port=$(awk '/^PORT /{print $2}' "$work/tls_port")
  whttps=$("$win32_build/wine-run" "$exe" client "https://localhost:$tls_port/file/$wine_bytes" 'C:\bench-https.bin' | tr -d '\r' | sed 's/^client/https client/')
  echo "$whttps"
  rm -f "$win32_build/wine/prefix/drive_c/bench-https.bin"
  awk -v s="$(echo "$whttps" | rate)" -v c="$(echo "$wclient" | rate)" \
    'BEGIN { printf "Wine ratio: https client/plain http client %.2f\n", s / c }'
fi

#!/usr/bin/env bash
# Runs the Win32 download tests under Wine against the scripted server on a local port.
set -eu
. "$SETUP_SOURCE_DIR/tests/harness/wine-env.sh"
ensure_wine_prefix
ensure_display

port_file=$(mktemp)
python3 "$SETUP_SOURCE_DIR/tests/host/net/http_test_server.py" >"$port_file" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$port_file"' EXIT
for _ in $(seq 100); do
  grep -q '^PORT ' "$port_file" && break
  sleep 0.05
done
SETUP_TEST_HTTP_PORT=$(awk '/^PORT /{print $2}' "$port_file")
[ -n "$SETUP_TEST_HTTP_PORT" ] || { echo "test server did not start" >&2; exit 1; }
export SETUP_TEST_HTTP_PORT
"$SETUP_BUILD_DIR/wine-run" "$SETUP_BUILD_DIR/tests/win32/net/net_wine_tests.exe" "$@"

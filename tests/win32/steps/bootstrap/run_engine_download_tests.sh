#!/usr/bin/env bash
# Runs the engine download tests under Wine against two local servers: the scripted server of the
# download client's tests, and a file server for the stand-in redistributable.
set -eu
. "$SETUP_SOURCE_DIR/tests/harness/wine-env.sh"
ensure_wine_prefix
ensure_display

here="$SETUP_BUILD_DIR/tests/win32/steps/bootstrap"
work=$(mktemp -d)
servers=()
cleanup() {
  for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# start_server NAME COMMAND...: starts it in the background and prints its port.
start_server() {
  local name=$1
  shift
  "$@" >"$work/$name" &
  servers+=($!)
  for _ in $(seq 100); do
    grep -q '^PORT ' "$work/$name" && break
    sleep 0.05
  done
}

start_server scripted python3 "$SETUP_SOURCE_DIR/tests/host/net/http_test_server.py"
start_server files python3 "$SETUP_SOURCE_DIR/tests/win32/steps/bootstrap/file_server.py" "$here"
SETUP_TEST_HTTP_PORT=$(awk '/^PORT /{print $2}' "$work/scripted")
SETUP_TEST_FILE_PORT=$(awk '/^PORT /{print $2}' "$work/files")
[ -n "$SETUP_TEST_HTTP_PORT" ] && [ -n "$SETUP_TEST_FILE_PORT" ] || { echo "a test server did not start" >&2; exit 1; }
export SETUP_TEST_HTTP_PORT SETUP_TEST_FILE_PORT
"$SETUP_BUILD_DIR/wine-run" "$here/engine_download_tests.exe" "$@"

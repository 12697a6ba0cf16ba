#!/usr/bin/env bash
# Runs the engine download tests under Wine against local servers: the scripted server of the
# download client's tests and a file server for the stand-in redistributable, each also over TLS
# with a certificate of a test authority made here (and the scripted one with a certificate nobody
# trusts); then the HTTPS cases again with WinHTTP disabled (so WinINet serves them), and with both
# disabled.
set -eu
. "$SETUP_SOURCE_DIR/tests/harness/wine-env.sh"
ensure_wine_prefix
ensure_display

here="$SETUP_BUILD_DIR/tests/win32/steps/bootstrap"
work=$(mktemp -d)
servers=()
authority_key=
cleanup() {
  for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  [ -z "$authority_key" ] || wine reg delete "$authority_key" /f >/dev/null 2>&1 || true
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

port_of() { awk '/^PORT /{print $2}' "$work/$1"; }

"$SETUP_SOURCE_DIR/tests/win32/steps/bootstrap/make_test_certificates.sh" "$work"
scripted="$SETUP_SOURCE_DIR/tests/host/net/http_test_server.py"
files="$SETUP_SOURCE_DIR/tests/win32/steps/bootstrap/file_server.py"
start_server scripted python3 "$scripted"
start_server files python3 "$files" "$here"
start_server scripted_tls python3 "$scripted" --tls "$work/server.pem" "$work/server.key"
start_server files_tls python3 "$files" "$here" "$work/server.pem" "$work/server.key"
start_server untrusted_tls python3 "$scripted" --tls "$work/untrusted.pem" "$work/untrusted.key"
SETUP_TEST_HTTP_PORT=$(port_of scripted)
SETUP_TEST_FILE_PORT=$(port_of files)
SETUP_TEST_HTTPS_PORT=$(port_of scripted_tls)
SETUP_TEST_HTTPS_FILE_PORT=$(port_of files_tls)
SETUP_TEST_UNTRUSTED_PORT=$(port_of untrusted_tls)
for port in "$SETUP_TEST_HTTP_PORT" "$SETUP_TEST_FILE_PORT" "$SETUP_TEST_HTTPS_PORT" \
  "$SETUP_TEST_HTTPS_FILE_PORT" "$SETUP_TEST_UNTRUSTED_PORT"; do
  [ -n "$port" ] || { echo "a test server did not start" >&2; exit 1; }
done
# Trusted for this run only: Wine keeps each Root certificate under its SHA-1 thumbprint.
thumbprint=$(openssl x509 -in "$work/ca.pem" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g')
authority_key="HKLM\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\$thumbprint"
"$SETUP_BUILD_DIR/wine-run" "$here/trust_test_authority.exe" "$(winpath "$work/ca.der")"
SETUP_TEST_STAND_IN_SHA256=$(sha256sum "$here/stand_in_redistributable.exe" | cut -d' ' -f1)
export SETUP_TEST_HTTP_PORT SETUP_TEST_FILE_PORT SETUP_TEST_HTTPS_PORT SETUP_TEST_HTTPS_FILE_PORT \
  SETUP_TEST_UNTRUSTED_PORT SETUP_TEST_STAND_IN_SHA256
"$SETUP_BUILD_DIR/wine-run" "$here/engine_download_tests.exe" "$@"
# WinINet, the stack of systems without WinHTTP, for the HTTPS cases.
WINEDLLOVERRIDES="mscoree,mshtml,winhttp=" \
  "$SETUP_BUILD_DIR/wine-run" "$here/engine_download_tests.exe" --gtest_filter='*Https*:*FailedDownloads*'
# No HTTPS stack at all: both libraries fail to load.
WINEDLLOVERRIDES="mscoree,mshtml,winhttp,wininet=" SETUP_TEST_NO_HTTPS_STACK=1 \
  "$SETUP_BUILD_DIR/wine-run" "$here/engine_download_tests.exe" --gtest_filter='*WithoutAnHttpsStack*'
# A server that drips a byte every 3 s: the progress rule ends the run after its 60 s, well
# within the two minutes allowed here.
SETUP_TEST_DRIP=1 timeout 120 \
  "$SETUP_BUILD_DIR/wine-run" "$here/engine_download_tests.exe" --gtest_filter='*Dripping*'

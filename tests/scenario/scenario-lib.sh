# Sourced by scenario scripts: runs the real Setup.EXE under the build tree's Wine prefix.
set -euo pipefail
. "$SETUP_SOURCE_DIR/tests/harness/wine-env.sh"
ensure_wine_prefix
ensure_display
RUNEXE="$SETUP_BUILD_DIR/tests/harness/runexe.exe"
WINWATCH="$SETUP_BUILD_DIR/tests/harness/winwatch.exe"
SETUP_EXE="$SETUP_BUILD_DIR/src/app/Setup.exe"
DRIVE_C="$WINEPREFIX/drive_c"
SETUP_LOG="$DRIVE_C/SETUP.LOG"
failures=0

# A fresh folder C:\scn\NAME holding Setup.exe; prints its Linux path.
scenario_folder() {
  local dir="$DRIVE_C/scn/$1"
  rm -rf "$dir" && mkdir -p "$dir"
  cp "$SETUP_EXE" "$dir/Setup.exe"
  printf '%s' "$dir"
}

# A minimal valid SETUP.INI in a folder.
write_setup_ini() {
  printf '[ProductInformation]\r\nPackageName=Product.msi\r\n\r\n[ProductFeatures]\r\nComplete\r\n' >"$1/SETUP.INI"
}

# run_setup RAW-COMMAND-LINE [runexe options]: runs Setup.exe to its end, prints the exit code
# (0xXXXXXXXX).
run_setup() {
  local out
  out=$(wine "$RUNEXE" --timeout 60000 "${@:2}" "$1" 2>/dev/null | tr -d '\r')
  printf '%s' "${out#exit=}"
}

# start_setup RAW-COMMAND-LINE: in the background; finish_setup waits for it and sets setup_code
# (call it directly, not in $(...): a subshell cannot wait for the run).
start_setup() {
  setup_out=$(mktemp)
  # SETUP_LOCALE chooses the user locale of Setup.exe (Wine takes it from LC_ALL).
  env ${SETUP_LOCALE:+LC_ALL=$SETUP_LOCALE} wine "$RUNEXE" --timeout 60000 "$1" >"$setup_out" 2>/dev/null &
  setup_pid=$!
}
finish_setup() {
  wait "$setup_pid" || true
  local out; out=$(tr -d '\r' <"$setup_out")
  rm -f "$setup_out"
  setup_code="${out#exit=}"
}

watch_window() { wine "$WINWATCH" "$@" 2>/dev/null | tr -d '\r'; }

# The log without its time stamps, after checking every line's stamp format.
log_messages() {
  [ -f "$SETUP_LOG" ] || return 0
  tr -d '\r' <"$SETUP_LOG" | while IFS= read -r line; do
    if [[ ! "$line" =~ ^[0-1][0-9]/[0-3][0-9]/[0-9][0-9]\ [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\ -\  ]]; then
      echo "BAD-STAMP: $line"
    else
      echo "${line:20}"
    fi
  done
}

check() {  # check DESCRIPTION EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    echo "ok: $1"
  else
    echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"
    failures=$((failures + 1))
  fi
}
check_contains() {  # check_contains DESCRIPTION NEEDLE HAYSTACK
  if grep -qxF -- "$2" <<<"$3"; then echo "ok: $1"; else
    echo "FAIL: $1: no line \"$2\" in:"; sed 's/^/    /' <<<"$3"; failures=$((failures + 1)); fi
}
check_lacks() {
  if grep -qF -- "$2" <<<"$3"; then echo "FAIL: $1: unexpected \"$2\""; failures=$((failures + 1)); else echo "ok: $1"; fi
}
finish() {
  if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
  echo "all checks passed"
}

DEMO_PRODUCT_CODE='{6F1C2B1E-0D3A-4C55-9E61-3B7A1D2C4E01}'

# The demo package (examples/demo) as Demo.msi with its SETUP.INI in a folder.
write_demo_package() {
  (cd "$SETUP_SOURCE_DIR/examples/demo" && wixl -o "$1/Demo.msi" Demo.wxs)
  cp "$SETUP_SOURCE_DIR/examples/demo/SETUP.INI" "$1/SETUP.INI"
}

# Removes the demo product if a run left it installed.
remove_demo_product() {
  wine msiexec /x "$DEMO_PRODUCT_CODE" /qn >/dev/null 2>&1 || true
}

demo_product_installed() {
  if wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$DEMO_PRODUCT_CODE" >/dev/null 2>&1; then
    echo installed
  else
    echo absent
  fi
}

#!/usr/bin/env bash
# The live progress dialog in English and German, its greyed Close entry and ignored WM_CLOSE,
# read while an internal-error box (no SETUP.INI) holds the worker thread; then the same dialog,
# created from the same manifest, on emulated Windows 98 and XP.
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
scenario_folder dialog >/dev/null

for lang in en de; do
  if [ $lang = de ]; then
    SETUP_LOCALE=de_DE.UTF-8; status="Setup wird geladen. Bitte warten...."; box="Interner Fehler"; code="Fehlercode"
  else
    SETUP_LOCALE=C; status="Please wait while setup loads...."; box="Internal Error"; code="Error Code"
  fi
  rm -f "$SETUP_LOG"
  start_setup 'C:\scn\dialog\Setup.exe'
  box_text=$(watch_window --caption "$box" --timeout 30000 --dump)
  check_contains "$lang: error box for the missing SETUP.INI" "control 65535 Static: $code: 0001.00000002" "$box_text"
  dialog=$(watch_window --class '#32770' --caption Setup --timeout 10000 --dump --sys-close --send-close)
  check_contains "$lang: caption" "caption: Setup" "$dialog"
  check_contains "$lang: status text" "control 1000 Static: $status" "$dialog"
  check_contains "$lang: progress bar control" "control 1001 msctls_progress32: Progress1" "$dialog"
  check_contains "$lang: close box and Alt+F4 ignored" "after-sys-close: alive" "$dialog"
  check_contains "$lang: WM_CLOSE ignored" "after-close: alive" "$dialog"
  watch_window --caption "$box" --timeout 10000 --press ok >/dev/null
  finish_setup
  check "$lang: exit code of a missing SETUP.INI" "0x00000002" "$setup_code"
done

SETUP_LOCALE=C
trap "wine reg delete 'HKCU\\Software\\Wine\\AppDefaults\\Setup.exe' /f >/dev/null 2>&1 || true" EXIT
for version in win98 winxp; do
  wine_reg_add 'HKCU\Software\Wine\AppDefaults\Setup.exe' /v Version /d $version
  start_setup 'C:\scn\dialog\Setup.exe'
  dialog=$(watch_window --class '#32770' --caption Setup --timeout 30000 --dump)
  check_contains "$version: dialog shown with its status text" "control 1000 Static: Please wait while setup loads...." "$dialog"
  check_contains "$version: progress bar created" "control 1001 msctls_progress32: Progress1" "$dialog"
  watch_window --caption "Internal Error" --timeout 10000 --press ok >/dev/null
  finish_setup
  check "$version: exit code of a missing SETUP.INI" "0x00000002" "$setup_code"
done
finish

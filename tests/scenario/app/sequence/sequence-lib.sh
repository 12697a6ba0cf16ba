# Sourced by the sequence scenarios (arguments: the installer stand-in and the shortcut reader):
# the real Setup.EXE in a private copy of the Wine prefix whose installer program is the stand-in,
# so that restart requests and odd installer exit codes never reach the shared prefix.
STUB_EXE="$1"
SHORTCUT_DUMP="$2"
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"

use_private_wine_prefix setup-sequence
DRIVE_C="$WINEPREFIX/drive_c"
SETUP_LOG="$DRIVE_C/SETUP.LOG"
rm -rf "$DRIVE_C/scn" "$SETUP_LOG"

# Wine prefers its built-in installer even over a real file in the system folder: the stand-in
# must be named native, and the set-aside original (a built-in placeholder) built-in by its path.
# A 32-bit launcher in a 64-bit prefix finds its System32 redirected to SysWOW64, as on 64-bit Windows.
SYSTEM_FOLDER="$DRIVE_C/windows/system32"
[ "$WINEARCH" = win64 ] && [ "${SETUP_PROGRAM_ARCH:-}" = win32 ] && SYSTEM_FOLDER="$DRIVE_C/windows/syswow64"
STUB_DIR="$DRIVE_C/msiexec-stub"
REAL_MSIEXEC='C:\msiexec-stub\real\msiexec.exe'
mkdir -p "$STUB_DIR/real"
mv "$SYSTEM_FOLDER/msiexec.exe" "$STUB_DIR/real/msiexec.exe"
install_stub() { cp "$STUB_EXE" "$SYSTEM_FOLDER/msiexec.exe"; }
# An empty file in the stand-in's place: starting it fails (bad executable format).
break_installer() { : >"$SYSTEM_FOLDER/msiexec.exe"; }
install_stub
wine_reg_add 'HKCU\Software\Wine\DllOverrides' /v msiexec.exe /d native
wine_reg_add 'HKCU\Software\Wine\DllOverrides' /v "$REAL_MSIEXEC" /d builtin

NESTED_PRODUCT_CODE='{1A784D69-437F-4123-BFA6-B1AF43725D8B}'
STARTUP_FOLDER=$(ls -d "$DRIVE_C"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/StartUp | head -1)
RESTART_SHORTCUT="$STARTUP_FOLDER/Quorvel Setup.lnk"

# stub_plan LINE...: what the next installer calls answer ("<exit code> [real]", the last repeats);
# forgets earlier calls.
stub_plan() {
  printf '%s\r\n' "$@" >"$STUB_DIR/plan.txt"
  rm -f "$STUB_DIR/calls.txt"
}
stub_calls() { [ -f "$STUB_DIR/calls.txt" ] && tr -d '\r' <"$STUB_DIR/calls.txt" || true; }

uninstall_product() { wine "$REAL_MSIEXEC" /x "$1" /qn >/dev/null 2>&1 || true; }
product_state() {
  if wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" >/dev/null 2>&1; then
    echo installed
  else
    echo absent
  fi
}

# The restart shortcut's fields as "target=", "arguments=", "description=" lines, or nothing.
read_restart_shortcut() {
  [ -f "$RESTART_SHORTCUT" ] || return 0
  wine "$SHORTCUT_DUMP" "$(winpath "$RESTART_SHORTCUT")" 2>/dev/null | tr -d '\r'
}
shortcut_field() { sed -n "s/^$1=//p" <<<"$2"; }
shortcut_state() { [ -f "$RESTART_SHORTCUT" ] && echo present || echo absent; }

# A launcher folder C:\scn\NAME with the demo package, the nested setup's package and its setup
# data file Nested.ini; SETUP.INI gets the extra ProductInformation lines given.
sequence_folder() {
  local dir; dir=$(scenario_folder "$1")
  write_demo_package "$dir"
  (cd "$SETUP_SOURCE_DIR/tests/scenario/app/sequence" && wixl -o "$dir/Nested.msi" nested.wxs)
  printf '[ProductInformation]\r\nPackageName=Nested.msi\r\n\r\n[ProductFeatures]\r\nComplete\r\n' >"$dir/Nested.ini"
  {
    printf '[ProductInformation]\r\nPackageName=Demo.msi\r\nMsiVersion=2.0\r\n'
    printf '%s\r\n' "${@:2}"
    printf '\r\n[ProductFeatures]\r\nComplete\r\n'
  } >"$dir/SETUP.INI"
  printf '%s' "$dir"
}

temp_copies() { ls -d "$DRIVE_C"/users/*/Temp/KOBR* 2>/dev/null || true; }

# Starts every case from the same state: no product, shortcut, temporary copy or log.
reset_case() {
  uninstall_product "$DEMO_PRODUCT_CODE"
  uninstall_product "$NESTED_PRODUCT_CODE"
  rm -rf "$RESTART_SHORTCUT" "$SETUP_LOG" "$DRIVE_C"/users/*/Temp/KOBR*
}

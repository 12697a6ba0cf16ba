#!/usr/bin/env bash
# Products of the other width on 64-bit Windows: their uninstall entries and the product's check key
# live in the other registry view, and Setup.EXE must see them there. Runs in a 64-bit prefix,
# either the 64-bit Setup.EXE with x86 packages (32-bit view) or the 32-bit one under WoW64 with x64
# packages (64-bit view). SETUP_OTHER_ARCH (x86 or x64) overrides the width taken from Setup.exe.
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
[ "$WINEARCH" = win64 ] || { echo "needs a 64-bit prefix (WINEARCH=$WINEARCH)"; exit 1; }

# The PE machine field: 8664 for x86-64, 014c for i386.
pe_machine() {
  local offset; offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}
if [ -z "${SETUP_OTHER_ARCH:-}" ]; then
  case "$(pe_machine "$SETUP_EXE")" in
    8664) SETUP_OTHER_ARCH=x86 ;;
    014c) SETUP_OTHER_ARCH=x64 ;;
    *) echo "cannot tell the width of $SETUP_EXE"; exit 1 ;;
  esac
fi
case "$SETUP_OTHER_ARCH" in
  x86) other_view=/reg:32 own_view=/reg:64 ;;
  x64) other_view=/reg:64 own_view=/reg:32 ;;
  *) echo "SETUP_OTHER_ARCH must be x86 or x64"; exit 1 ;;
esac
echo "Setup.exe $(pe_machine "$SETUP_EXE"), other products $SETUP_OTHER_ARCH ($other_view)"

other_code='{3C9E7A51-0A64-4B2D-9E10-5F6A7B8C9D64}'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
marker_key='HKLM\Software\WowTest'
dir=$(scenario_folder views)
write_demo_package "$dir"
(cd "$SETUP_SOURCE_DIR/tests/data/steps" &&
  /usr/bin/wixl -a "$SETUP_OTHER_ARCH" -D Version=1.0.0 -D ProductCode="$other_code" -o "$dir/Other.msi" heron.wxs)
cleanup() {
  remove_demo_product
  wine msiexec /x "$other_code" /qn >/dev/null 2>&1 || true
  for view in /reg:32 /reg:64; do
    wine reg delete "$marker_key" /f "$view" >/dev/null 2>&1 || true
    wine reg delete "$uninstall_key\\WowTestRemover" /f "$view" >/dev/null 2>&1 || true
  done
  rm -f "$DRIVE_C/windows/system32/wowtest-remover.exe"
}
cleanup
trap cleanup EXIT
export ZBSETUP=LOG

in_view() {  # in_view KEY VIEW [VALUE]: installed or absent
  if wine reg query "$1" ${3:+/v "$3"} "$2" >/dev/null 2>&1; then echo installed; else echo absent; fi
}
install_other() {
  wine msiexec /i 'C:\scn\views\Other.msi' /qn >/dev/null 2>&1 || true
  check "the other product is in the other view" installed "$(in_view "$uninstall_key\\$other_code" "$other_view")"
  check "and not in Setup's own view" absent "$(in_view "$uninstall_key\\$other_code" "$own_view")"
}
setup_ini() {  # setup_ini CHECK-REG-KEY [SECTION LINES...]: the demo package's setup data
  { printf '[ProductInformation]\nPackageName=Demo.msi\n%s\n[ProductFeatures]\nComplete\n' "${1:+CheckRegKey=$1}"
    printf '%s\n' "${@:2}"; } | sed 's/$/\r/' >"$dir/SETUP.INI"
}

# An incompatible product of the other width ends the setup.
install_other
setup_ini '' '[IncompatibleAppExit]' "$other_code"
rm -f "$SETUP_LOG"
check "incompatible product in the other view" 0x00000643 "$(run_setup 'C:\scn\views\Setup.exe /qn')"
check_contains "it is named" "Found incompatible application: Heron Sample" "$(log_messages)"
check "nothing was installed" absent "$(demo_product_installed)"

# A previous version of the other width is removed before the install.
setup_ini '' '[PreviousVersionUninstall]' "$other_code"
rm -f "$SETUP_LOG"
check "previous version in the other view" 0x00000000 "$(run_setup 'C:\scn\views\Setup.exe /qn')"
log=$(log_messages)
check_contains "it is found" "Found previous version: Heron Sample" "$log"
check_contains "and removed" "Command Line = C:\\windows\\system32\\MSIEXEC /x $other_code /qn" "$log"
check "the previous version is gone" absent "$(in_view "$uninstall_key\\$other_code" "$other_view")"
check "the product is installed" installed "$(demo_product_installed)"

# The check key written by a product of the other width leads to maintenance.
setup_ini 'HKLM,Software\WowTest,Marker'
wine reg add "$marker_key" /v Marker /d 1 /f "$other_view" >/dev/null 2>&1
check "the marker is only in the other view" absent "$(in_view "$marker_key" "$own_view" Marker)"
rm -f "$SETUP_LOG"
code=$(run_setup 'C:\scn\views\Setup.exe /qb')
log=$(log_messages)
check_contains "check key in the other view" "Found the product registry key" "$log"
check_contains "maintenance follows" "Launching the maintenance installer" "$log"
child=$(sed -n 's/^Process completed with exit code: //p' <<<"$log" | tail -1)
check "setup ends with the maintenance installer's code" "0x$child" "$code"
remove_demo_product

# A 32-bit Setup.exe is redirected from System32 to SysWOW64: a remover that the 64-bit view names in
# System32 exists only in the 64-bit folder (a copy of runexe, which runs reg to drop the entry).
if [ "$SETUP_OTHER_ARCH" = x64 ]; then
  cp "$RUNEXE" "$DRIVE_C/windows/system32/wowtest-remover.exe"
  wine reg add "$uninstall_key\\WowTestRemover" /v DisplayName /d "WowTest Remover" /f /reg:64 >/dev/null 2>&1
  wine reg add "$uninstall_key\\WowTestRemover" /v UninstallString /f /reg:64 >/dev/null 2>&1 \
    /d "C:\\windows\\system32\\wowtest-remover.exe \"reg delete $uninstall_key\\WowTestRemover /f /reg:64\""
  setup_ini '' '[PreviousVersionUninstall]' WowTestRemover
  rm -f "$SETUP_LOG"
  code=$(run_setup 'C:\scn\views\Setup.exe /qn')
  check "a System32 remover of the 64-bit view" 0x00000000 "${code##*exit=}" # after the remover's output
  check_contains "it ran" "Process completed with exit code: 00000000" "$(log_messages)"
  check "its entry is gone" absent "$(in_view "$uninstall_key\\WowTestRemover" /reg:64)"
fi
finish

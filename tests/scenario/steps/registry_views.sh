#!/usr/bin/env bash
# Products of the other width in a 64-bit prefix: their uninstall entries and the check key live in
# the other registry view. The 64-bit Setup.exe meets x86 packages, the 32-bit one (WoW64) x64
# packages; SETUP_OTHER_ARCH (x86 or x64) overrides the width read from Setup.exe's PE header.
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
pe=$(od -An -tu4 -j60 -N4 "$SETUP_EXE")
[ "$(od -An -tx2 -j$((pe + 4)) -N2 "$SETUP_EXE" | tr -d ' ')" = 8664 ] && arch=x86 || arch=x64
arch=${SETUP_OTHER_ARCH:-$arch}
[ "$arch" = x86 ] && other=/reg:32 own=/reg:64 || other=/reg:64 own=/reg:32
code='{3C9E7A51-0A64-4B2D-9E10-5F6A7B8C9D64}'
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
dir=$(scenario_folder views)
write_demo_package "$dir"
(cd "$SETUP_SOURCE_DIR/tests/data/steps" &&
  /usr/bin/wixl -a "$arch" -D Version=1.0.0 -D ProductCode="$code" -o "$dir/Other.msi" heron.wxs)
cleanup() {
  remove_demo_product
  wine msiexec /x "$code" /qn >/dev/null 2>&1 || true
  for view in /reg:32 /reg:64; do
    wine reg delete 'HKLM\Software\WowTest' /f $view >/dev/null 2>&1 || true
    wine reg delete "$uninstall\\WowTestRemover" /f $view >/dev/null 2>&1 || true
  done
}
cleanup && trap cleanup EXIT
export ZBSETUP=LOG
in_view() { wine reg query "$1" "${@:3}" "$2" >/dev/null 2>&1 && echo present || echo absent; }
setup_ini() {  # setup_ini CHECK-REG-KEY [SECTION LINES...]
  printf '[ProductInformation]\nPackageName=Demo.msi\nCheckRegKey=%s\n[ProductFeatures]\nComplete\n' "$1" |
    cat - <(printf '%s\n' "${@:2}") | sed 's/$/\r/' >"$dir/SETUP.INI"
}
views() { echo "$(in_view "$1" $other "${@:2}") $(in_view "$1" $own "${@:2}")"; }

wine msiexec /i 'C:\scn\views\Other.msi' /qn >/dev/null 2>&1 || true
check "$arch product: other view only" "present absent" "$(views "$uninstall\\$code")"
setup_ini '' '[IncompatibleAppExit]' "$code"
rm -f "$SETUP_LOG"
check "incompatible product of the other view" 0x00000643 "$(run_setup 'C:\scn\views\Setup.exe /qn')"
check_contains "it is named" "Found incompatible application: Heron Sample" "$(log_messages)"

setup_ini '' '[PreviousVersionUninstall]' "$code"
rm -f "$SETUP_LOG"
check "previous version of the other view" 0x00000000 "$(run_setup 'C:\scn\views\Setup.exe /qn')"
log=$(log_messages)
check_contains "it is found" "Found previous version: Heron Sample" "$log"
check_contains "and removed" "Command Line = C:\\windows\\system32\\MSIEXEC /x $code /qn" "$log"
check "it is gone, the product installed" "absent absent installed" \
  "$(views "$uninstall\\$code") $(demo_product_installed)"

# The same package is installed now: the check key leads to maintenance.
setup_ini 'HKLM,Software\WowTest,Marker'
wine reg add 'HKLM\Software\WowTest' /v Marker /d 1 /f $other >/dev/null 2>&1
check "the marker: other view only" "present absent" "$(views 'HKLM\Software\WowTest' /v Marker)"
rm -f "$SETUP_LOG"
result=$(run_setup 'C:\scn\views\Setup.exe /qb')
log=$(log_messages)
check_contains "check key of the other view" "Found the product registry key" "$log"
check_contains "maintenance follows" "Launching the maintenance installer" "$log"
check "setup ends with the maintenance installer's code" \
  "0x$(sed -n 's/^Process completed with exit code: //p' <<<"$log" | tail -1)" "$result"
remove_demo_product

# WoW64 redirects System32 to SysWOW64: a remover that the 64-bit view names there exists only in
# the 64-bit folder (a copy of runexe, running reg to drop the entry).
if [ "$arch" = x64 ]; then
  cp "$RUNEXE" "$DRIVE_C/windows/system32/wowtest-remover.exe"
  wine reg add "$uninstall\\WowTestRemover" /v DisplayName /d Remover /f /reg:64 >/dev/null 2>&1
  wine reg add "$uninstall\\WowTestRemover" /v UninstallString /f /reg:64 >/dev/null 2>&1 \
    /d "C:\\windows\\system32\\wowtest-remover.exe \"reg delete $uninstall\\WowTestRemover /f /reg:64\""
  setup_ini '' '[PreviousVersionUninstall]' WowTestRemover
  result=$(run_setup 'C:\scn\views\Setup.exe /qn')
  check "a System32 remover of the 64-bit view ran" "0x00000000 absent" \
    "${result##*exit=} $(in_view "$uninstall\\WowTestRemover" /reg:64)" # after the remover's output
  rm -f "$DRIVE_C/windows/system32/wowtest-remover.exe"
fi
finish

#!/usr/bin/env bash
# DLLs planted beside Setup.EXE (a download folder) under the names of the system DLLs the launcher
# and its libraries load: with Wine told to prefer such copies, none may be loaded, and the install
# still succeeds. The start-up must also still work on emulated Windows 98.
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
PROBE="$SETUP_BUILD_DIR/tests/scenario/app/hardening/planted_probe.dll"
PLANTED_LOG="$DRIVE_C/PLANTED.LOG"
dir=$(scenario_folder planted)
write_demo_package "$dir"
remove_demo_product
REMOVER_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Planted.Remover'
restore() {
  remove_demo_product
  wine reg delete "$REMOVER_KEY" /f >/dev/null 2>&1 || true
  rm -rf "$DRIVE_C/msiexec-stub" "$PLANTED_LOG" "$SETUP_LOG"
  wine reg delete 'HKCU\Software\Wine\AppDefaults\Setup.exe' /f >/dev/null 2>&1 || true
}
trap restore EXIT

# Every non-KnownDLL a full install run loads (WINEDEBUG=+loaddll), and those other setup programs
# are known to take from their folder.
names="wsock32 comctl32 version uxtheme msi winmm dwmapi cryptbase userenv secur32 winhttp wininet
  crypt32 wintrust urlmon cabinet mpr imagehlp dbghelp bcrypt propsys windowscodecs shcore sxs
  mspatcha odbccp32 msimg32 riched20 netapi32 dnsapi iphlpapi profapi"
for name in $names; do cp "$PROBE" "$dir/$name.dll"; done
overrides="$(echo $names | tr ' ' ',')=n,b;mscoree,mshtml="

planted_loads() { cat "$PLANTED_LOG" 2>/dev/null | tr -d '\r'; }

# The probe does record a load (by full path here, as nothing else would load it).
rm -f "$PLANTED_LOG"
WINEDLLOVERRIDES="$overrides" wine rundll32 'C:\scn\planted\version.dll,Probe' >/dev/null 2>&1 || true
check "the probe records its loading" 'C:\scn\planted\version.dll' "$(planted_loads)"

run_planted() {  # run_planted DESCRIPTION: a silent install from the planted folder, its own current folder
  rm -f "$PLANTED_LOG"
  local code
  # A launcher that loads a probe may crash: that must fail the checks, not end the script.
  code=$(cd "$dir" && { WINEDLLOVERRIDES="$overrides" run_setup 'C:\scn\planted\Setup.exe /qn' --cwd 'C:\scn\planted' || true; })
  check "$1: setup succeeds" "0x00000000" "$code"
  check "$1: the product is installed" "installed" "$(demo_product_installed)"
  check "$1: no planted DLL was loaded" "" "$(planted_loads)"
  remove_demo_product
}
run_planted "current Windows"
wine_reg_add 'HKCU\Software\Wine\AppDefaults\Setup.exe' /v Version /d win98
run_planted "Windows 98"

# A bare "RunDll32 ..." remove command runs the system's rundll32 (which loads the probe), not the
# program planted beside Setup.EXE under that name (the installer stand-in, which records its call).
wine reg delete 'HKCU\Software\Wine\AppDefaults\Setup.exe' /f >/dev/null 2>&1 || true
rundir=$(scenario_folder rundll)
write_demo_package "$rundir"
printf '\r\n[PreviousVersionUninstall]\r\nPlanted.Remover\r\n' >>"$rundir/SETUP.INI"
cp "$PROBE" "$rundir/probe.dll"
cp "$SETUP_BUILD_DIR/tests/scenario/app/sequence/msiexec_stub.exe" "$rundir/RunDll32.exe"
rm -rf "$DRIVE_C/msiexec-stub" "$PLANTED_LOG" "$SETUP_LOG" && mkdir -p "$DRIVE_C/msiexec-stub"
wine_reg_add "$REMOVER_KEY" /v DisplayName /d 'Planted Remover'
wine_reg_add "$REMOVER_KEY" /v UninstallString /d 'RunDll32 C:\scn\rundll\probe.dll,Probe'
# Removed silently, the entry stays: 1603.
check "bare RunDll32: setup ends" "0x00000643" "$(ZBSETUP=LOG run_setup 'C:\scn\rundll\Setup.exe /qn')"
check "bare RunDll32: the system's one ran" 'C:\scn\rundll\probe.dll' "$(planted_loads)"
check "bare RunDll32: the planted one did not" "absent" "$([ -f "$DRIVE_C/msiexec-stub/calls.txt" ] && echo ran || echo absent)"
check_contains "bare RunDll32: started by full path" \
  'Command Line = "C:\windows\system32\RunDll32.exe" C:\scn\rundll\probe.dll,Probe' "$(log_messages)"
finish

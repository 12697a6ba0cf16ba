#!/usr/bin/env bash
# The platform check of the real Setup.EXE under emulated Windows 10 and 8.1: its manifest makes the
# system report the true version (without it both say 6.2). A product installed and listed under
# IncompatibleAppExit ends a qualifying /qn run right after the check, without a box, with 1603; a
# refusal is run at /qb, where its box is shown, and answered.
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
dir=$(scenario_folder versions)
blocker='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\SetupVersionsBlocker'
cleanup() {
  wine reg delete 'HKCU\Software\Wine\AppDefaults\Setup.exe' /f >/dev/null 2>&1 || true
  wine reg delete "$blocker" /f >/dev/null 2>&1 || true
}
trap cleanup EXIT
wine_reg_add "$blocker" /v DisplayName /d Blocker
wine_reg_add "$blocker" /v UninstallString /d 'C:\scn\none.exe'
export ZBSETUP=LOG

for row in "win10 NT:10.0 0x00000643" "win10 NT:10.0:0 0x00000643" "win81 NT:6.3 0x00000643" \
           "win81 NT:10.0 0x00000661"; do
  read -r version platforms expected <<<"$row"
  wine_reg_add 'HKCU\Software\Wine\AppDefaults\Setup.exe' /v Version /d "$version"
  printf '[ProductInformation]\r\nPackageName=Product.msi\r\nPlatforms=%s\r\n[ProductFeatures]\r\n[IncompatibleAppExit]\r\nSetupVersionsBlocker\r\n' \
    "$platforms" >"$dir/SETUP.INI"
  rm -f "$SETUP_LOG"
  if [ "$expected" = 0x00000643 ]; then
    start_setup 'C:\scn\versions\Setup.exe /qn'
  else
    start_setup 'C:\scn\versions\Setup.exe /qb'
    box=$(watch_window --caption Error --timeout 30000 --dump --press ok)
    check_contains "$version $platforms: refusal box" \
      "control 65535 Static: This program does not support the operating system detected." "$box"
  fi
  finish_setup
  check "$version refuses or accepts Platforms=$platforms" "$expected" "$setup_code"
  if [ "$expected" = 0x00000643 ]; then
    check_contains "$version $platforms: next step reached" "Verifying that no incompatible applications are installed" \
      "$(log_messages)"
  fi
done
finish

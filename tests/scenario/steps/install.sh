#!/usr/bin/env bash
# The whole sequence against a real package: a fresh install, the maintenance run when the same
# package is installed, and a removal (/x) that ends with success.
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
dir=$(scenario_folder install)
write_demo_package "$dir"
remove_demo_product
export ZBSETUP=LOG
trap remove_demo_product EXIT

rm -f "$SETUP_LOG"
check "fresh install" "0x00000000" "$(run_setup 'C:\scn\install\Setup.exe /qb')"
check "the product is installed" "installed" "$(demo_product_installed)"
log=$(log_messages)
for line in "Checking if __MsiPromptForCD mutex is set" "Checking if platform qualifies for installation" \
            "Checking if the Windows Installer is the correct version" "Install mode is the default" \
            "Install mode is default or configure" "Running installer" "Exiting normally"; do
  check_contains "$line" "$line" "$log"
done
check_contains "the main installer's command line" \
  'Command Line = C:\windows\system32\MSIEXEC.EXE /i "C:\scn\install\Demo.msi" /qb' "$log"
check "no temporary copy left" "" "$(ls -d "$DRIVE_C"/users/*/Temp/KOBR* 2>/dev/null || true)"

# Wine's msiexec refuses /f on a package path (1605) where Windows repairs: whatever the
# maintenance installer answers becomes setup's exit code.
rm -f "$SETUP_LOG"
code=$(run_setup 'C:\scn\install\Setup.exe /qb')
log=$(log_messages)
check_contains "same package found" "The current version of the product is already installed" "$log"
check_contains "maintenance command line" \
  'Command Line = C:\windows\system32\MSIEXEC /fvomus "C:\scn\install\Demo.msi" /qb' "$log"
child=$(sed -n 's/^Process completed with exit code: //p' <<<"$log" | tail -1)
check "setup ends with the maintenance installer's code" "0x$child" "$code"

rm -f "$SETUP_LOG"
check "removal with /x" "0x00000000" "$(run_setup "C:\\scn\\install\\Setup.exe /qb /x $DEMO_PRODUCT_CODE")"
check "the product is removed" "absent" "$(demo_product_installed)"
check_contains "removal command line" \
  "Command Line = C:\\windows\\system32\\MSIEXEC.EXE /x $DEMO_PRODUCT_CODE /qb" "$(log_messages)"
finish

#!/usr/bin/env bash
# Two launchers for the same setup data file: the second ends at once with 0 while the first holds
# the instance mutex (here, while it shows the platform box); the first then ends with 1633. The
# same refused platform under /qn ends with 1633 without a box.
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
dir=$(scenario_folder twice)
write_demo_package "$dir"
# A platform list that refuses the NT family.
sed -i 's/^\[ProductInformation\]\r*$/[ProductInformation]\r\nPlatforms=9X:4.10\r/' "$dir/SETUP.INI"
export ZBSETUP=LOG
rm -f "$SETUP_LOG"

start_setup 'C:\scn\twice\Setup.exe /qb'
box=$(watch_window --caption Error --timeout 30000 --dump)
check_contains "the platform box" "control 65535 Static: This program does not support the operating system detected." "$box"
check "second launcher ends at once" "0x00000000" "$(run_setup 'C:\scn\twice\Setup.exe /qb')"
check_contains "and says why" "Another instance of the same install is currently running" "$(log_messages)"
watch_window --caption Error --timeout 10000 --press ok >/dev/null
finish_setup
check "first launcher: platform not supported" "0x00000661" "$setup_code"

# Unattended (/qn): no box waits for an answer; its caption and text go to the log instead.
rm -f "$SETUP_LOG"
check "/qn: platform not supported, at once" "0x00000661" "$(run_setup 'C:\scn\twice\Setup.exe /qn' --timeout 15000)"
check_contains "/qn: the box is logged" \
  "Message suppressed: Error - This program does not support the operating system detected." "$(log_messages)"
finish

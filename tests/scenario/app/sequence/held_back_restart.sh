#!/usr/bin/env bash
# A main installation run with its restart held back (ONEREBOOT, REBOOT=ReallySuppress or
# /norestart typed): the nested setup runs first, then setup asks to restart where a box may be
# shown (/qr, /qb, /qn+), restarts without asking at /qn, restarts itself on Yes (1641) and not at
# all on No or when the typed REBOOT or /norestart says so (3010: the restart is still due);
# switches and the property in any letter case.
. "$SETUP_SOURCE_DIR/tests/scenario/app/sequence/sequence-lib.sh" "$@"
export ZBSETUP=LOG
# Any case of the option counts.
sequence_folder oneboot "NestedInstall=$NESTED_PRODUCT_CODE,Nested.ini,OneReboot" >/dev/null
sequence_folder nested "NestedInstall=$NESTED_PRODUCT_CODE,Nested.ini" >/dev/null
question='You must restart your system for the configuration changes made to Demo to take effect. Click Yes to restart now or No if you plan to manually restart later.'

# held_back_checks NAME UI-SWITCH: what every held-back run shows up to the restart decision.
held_back_checks() {
  local log; log=$(log_messages)
  check "$1: main installer told to hold the restart back" \
    "C:\\windows\\system32\\MSIEXEC.EXE /i \"C:\\scn\\oneboot\\Demo.msi\" $2 REBOOT=S" "$(stub_calls | head -1)"
  check_lacks "$1: no restart shortcut for a held-back restart" "Hooking reboot before" "$log"
  check_contains "$1: restart held back" "Reboots were suppressed, so a reboot will be required later" "$log"
  check_contains "$1: nested setup before the restart" "Nested installer was launched" "$log"
  check "$1: nested product installed" "installed" "$(product_state "$NESTED_PRODUCT_CODE")"
  check_contains "$1: restart wanted" "Initiating reboot so the product will be functional" "$log"
  check "$1: no restart shortcut" "absent" "$(shortcut_state)"
}

# Lower-case /qr asks, and so does /QN+ (the one box it shows); No ends setup with the restart
# still due. (UI switch as typed, then as passed on to the installer.)
for switches in "/qr /qr" "/QN+ /qn+"; do
  typed=${switches% *}
  reset_case
  stub_plan "3010 real" "0 real"
  start_setup "C:\scn\oneboot\Setup.exe $typed"
  box=$(watch_window --caption Warning --timeout 90000 --dump --press no) || box="no box within 90 s"
  finish_setup
  check "$typed, No: restart still due" "0x00000BC2" "$setup_code"
  check_contains "$typed, No: 3010 and why" "Exit code 3010 instead of 1602: the restart was declined" "$(log_messages)"
  check_contains "$typed: the restart question" "control 65535 Static: $question" "$box"
  held_back_checks "$typed, No" "${switches#* }"
  check_lacks "$typed, No: no restart" "Initiating Reboot..." "$(log_messages)"
done

# reboot=reallysuppress typed (lower case): the held-back restart is never made up for, and is
# still due.
reset_case
stub_plan "3010 real" "0 real"
check "REBOOT=ReallySuppress: restart still due" "0x00000BC2" \
  "$(run_setup 'C:\scn\oneboot\Setup.exe /qb reboot=reallysuppress' --timeout 20000)"
log=$(log_messages)
check "REBOOT=ReallySuppress: the user's REBOOT, none added" \
  'C:\windows\system32\MSIEXEC.EXE /i "C:\scn\oneboot\Demo.msi" /qb REBOOT=reallysuppress' "$(stub_calls | head -1)"
check_contains "REBOOT=ReallySuppress: restart held back" \
  "Reboots were suppressed, so a reboot will be required later" "$log"
check_contains "REBOOT=ReallySuppress: nested setup ran" "Nested installer was launched" "$log"
check_lacks "REBOOT=ReallySuppress: no restart wanted" "Initiating reboot" "$log"
check_contains "REBOOT=ReallySuppress: normal end" "Exiting normally" "$log"
held_back_line="Exit code 3010 instead of 0: a restart that setup requires was held back"
check_contains "REBOOT=ReallySuppress: 3010 and why" "$held_back_line" "$log"

# /norestart, the installer's own switch, in any case: the main installation holds its restart
# back for the nested setup (no OneReboot option), and setup restarts nothing.
reset_case
stub_plan "3010 real" "0 real"
check "/qn /NoRestart: restart still due" "0x00000BC2" \
  "$(run_setup 'C:\scn\nested\Setup.exe /qn /NoRestart' --timeout 20000)"
log=$(log_messages)
check "/qn /NoRestart: passed on, and the restart held back" \
  'C:\windows\system32\MSIEXEC.EXE /i "C:\scn\nested\Demo.msi" /qn /NoRestart REBOOT=S' "$(stub_calls | head -1)"
check "/qn /NoRestart: nested product installed" "installed" "$(product_state "$NESTED_PRODUCT_CODE")"
check_lacks "/qn /NoRestart: no restart" "Initiating Reboot..." "$log"
check_contains "/qn /NoRestart: 3010 and why" "$held_back_line" "$log"

# restart_checks NAME: setup asked Windows to restart (in this private prefix only).
restart_checks() {
  local log; log=$(log_messages)
  check_contains "$1: restart requested" "Initiating Reboot..." "$log"
  check_contains "$1: request made" "Reboot initiated." "$log"
  check_lacks "$1: request accepted" "ExitWindowsEx() failed" "$log"
}

# Lower-case /qn: no question, setup restarts Windows (a box would hold the run to its time-out).
reset_case
stub_plan "3010 real" "0 real"
check "/qn: restart, 1641" "0x00000669" "$(run_setup 'C:\scn\oneboot\Setup.exe /qn' --timeout 20000)"
held_back_checks "/qn" "/qn"
restart_checks "/qn"

# Yes to the question: setup restarts Windows.
reset_case
stub_plan "3010 real" "0 real"
start_setup 'C:\scn\oneboot\Setup.exe /qb'
box=$(watch_window --caption Warning --timeout 90000 --dump --press yes) || box="no box within 90 s"
finish_setup
check "/qb, Yes: restart, 1641" "0x00000669" "$setup_code"
check_contains "/qb: the restart question" "control 65535 Static: $question" "$box"
held_back_checks "/qb, Yes" "/qb"
restart_checks "/qb, Yes"
finish

#!/usr/bin/env bash
# A main installation with a nested setup after it, interrupted by the restart the installer asks
# for: setup leaves the final-marker shortcut and its temporary copy and ends with 460393; started
# again the way the shortcut says, it goes straight to the nested setup and removes the shortcut.
# Told not to copy itself, it restarts from its own folder with the switch it was given, once. A
# nested setup that requires a restart ends setup with 3010.
. "$SETUP_SOURCE_DIR/tests/scenario/app/sequence/sequence-lib.sh" "$@"
export ZBSETUP=LOG
sequence_folder nested "NestedInstall=$NESTED_PRODUCT_CODE,Nested.ini" >/dev/null
reset_case

stub_plan "3010 real" "0 real"
check "first run: restart under way, setup resumes afterwards" "0x00070669" "$(run_setup 'C:\scn\nested\Setup.exe /qb')"
log=$(log_messages)
for line in "Starting the SETUP process from the beginning" "Hooking reboot before running the main installation" \
            "Reboot signaled after running the main installation" \
            "Exiting due to intermediate reboot after running the main installation" \
            "Worker thread exiting with status code: 00070669"; do
  check_contains "first run: $line" "$line" "$log"
done
check_lacks "first run: shortcut kept" "Unhooking reboot after installing product" "$log"
check_lacks "first run: shortcut kept by the exit routine" "Unhooking reboot due to error" "$log"
check_lacks "first run: setup starts no restart itself" "Initiating Reboot..." "$log"
check "first run: only the main installer ran, without a held-back restart" \
  'C:\windows\system32\MSIEXEC.EXE /i "C:\scn\nested\Demo.msi" /qb' "$(stub_calls)"
check "first run: the main product is installed" "installed" "$(product_state "$DEMO_PRODUCT_CODE")"
check "first run: the nested product is not" "absent" "$(product_state "$NESTED_PRODUCT_CODE")"

shortcut=$(read_restart_shortcut)
target=$(shortcut_field target "$shortcut")
arguments=$(shortcut_field arguments "$shortcut")
check "shortcut: final marker" "SETUP.INI.Final" "$(shortcut_field description "$shortcut")"
check "shortcut: arguments carry the temporary-copy switch once" "/qb /~" "$arguments"
if [[ "$target" =~ ^C:\\users\\[^\\]+\\Temp\\KOBR[0-9A-F]{4}\\SETUP\.EXE$ ]]; then
  echo "ok: shortcut: target is SETUP.EXE in the temporary copy"
else
  echo "FAIL: shortcut: target \"$target\" is not SETUP.EXE in a temporary copy"; failures=$((failures + 1))
fi
copy=$(temp_copies)
check "the temporary copy is kept for the restart" "1" "$(grep -c . <<<"$copy")"
check "the copy holds the nested setup data" "present" "$([ -f "$copy/Nested.ini" ] && echo present || echo absent)"

# Windows would start the shortcut at the next logon; Wine never does, so start it as it says.
rm -f "$SETUP_LOG"
check "resumed run ends normally" "0x00000000" "$(run_setup "\"$target\" $arguments")"
log=$(log_messages)
check_contains "resumed run: goes to the nested setup" \
  "Starting the SETUP process at launching the nested installation" "$log"
check "resumed run: nothing from the beginning (only the nested setup's own run)" "1" \
  "$(grep -cxF "Starting the SETUP process from the beginning" <<<"$log")"
for line in "Launching the nested installer" "Nested installer was launched" "Exiting normally"; do
  check_contains "resumed run: $line" "$line" "$log"
done
nested_command=$(sed -n 's/^Command Line = \(.*Nested\.ini.*\)$/\1/p' <<<"$log")
# Case aside: the module name comes back as the file is spelled on disk.
check "resumed run: the nested setup's command line" "\"${target,,}\" nested.ini /qb /~-" "${nested_command,,}"
calls=$(stub_calls)
check "resumed run: only the nested setup's installer ran" \
  "C:\\windows\\system32\\MSIEXEC.EXE /i \"${target%\\*}\\Nested.msi\" /qb" "$(tail -n +2 <<<"$calls")"
check "resumed run: the nested product is installed" "installed" "$(product_state "$NESTED_PRODUCT_CODE")"
check "resumed run: shortcut removed" "absent" "$(shortcut_state)"
# The copy holds the running launcher itself: what cannot go now goes at the next restart.
copy_folder=$(winpath "$copy")
if [ -z "$(temp_copies)" ] || grep -qxF "Scheduled \"$copy_folder\" for deletion using MoveFileEx()" <<<"$log"; then
  echo "ok: resumed run: temporary copy removed or scheduled for deletion"
else
  echo "FAIL: resumed run: temporary copy $copy_folder left behind"; failures=$((failures + 1))
fi

# Without a temporary copy the launcher's own folder is the restart target.
reset_case
stub_plan "3010 real" "0 real"
check "/~-: restart under way" "0x00070669" "$(run_setup 'C:\scn\nested\Setup.exe /qb /~-')"
shortcut=$(read_restart_shortcut)
target=$(shortcut_field target "$shortcut")
arguments=$(shortcut_field arguments "$shortcut")
check "/~-: shortcut starts the launcher in its own folder" 'C:\scn\nested\SETUP.EXE' "$target"
check "/~-: the switch given, not repeated" "/qb /~-" "$arguments"
check "/~-: no temporary copy" "" "$(temp_copies)"
# A read-only shortcut (Wine: no write permission) is removed all the same: one that stayed would
# send every later run down the resume path.
chmod a-w "$RESTART_SHORTCUT"
rm -f "$SETUP_LOG"
check "/~-: resumed run ends normally" "0x00000000" "$(run_setup "\"$target\" $arguments")"
log=$(log_messages)
check_contains "/~-: resumed run goes to the nested setup" \
  "Starting the SETUP process at launching the nested installation" "$log"
check "/~-: the nested product is installed" "installed" "$(product_state "$NESTED_PRODUCT_CODE")"
check "/~-: read-only shortcut removed" "absent" "$(shortcut_state)"
check "/~-: the launcher's own folder is kept" "present" \
  "$([ -f "$DRIVE_C/scn/nested/Nested.ini" ] && echo present || echo absent)"

# A nested setup whose installer requires a restart ends with 3010, and so does setup: the restart
# is due and nobody started it.
reset_case
stub_plan "3010 real"
check "nested 3010: first run, restart under way" "0x00070669" "$(run_setup 'C:\scn\nested\Setup.exe /qb /~-')"
rm -f "$SETUP_LOG"
check "nested 3010: resumed run, restart due" "0x00000BC2" "$(run_setup 'C:\scn\nested\SETUP.EXE /qb /~-')"
check "nested 3010: 3010 and why, from the nested setup and from setup" "2" "$(grep -cxF \
  "Exit code 3010 instead of 1641: the installer requires a restart and none was started" <<<"$(log_messages)")"
finish

#!/usr/bin/env bash
# How the main installer's exit code ends setup: a restart it asks for without a nested setup (1641
# when it restarted Windows itself, 3010 when it only requires a restart; no restart of setup's
# own), a failure passed on with the restart shortcut removed, and a success that installed
# nothing (1602).
. "$SETUP_SOURCE_DIR/tests/scenario/app/sequence/sequence-lib.sh" "$@"
export ZBSETUP=LOG
sequence_folder plain >/dev/null
sequence_folder nested "NestedInstall=$NESTED_PRODUCT_CODE,Nested.ini" >/dev/null

# The installer restarting Windows itself (1641) or asking for it (3010), with no nested setup.
for child in 1641:0x00000669 3010:0x00000BC2; do
  code=${child#*:} child=${child%:*}
  reset_case
  stub_plan "$child real"
  check "$child: setup ends with $code" "$code" "$(run_setup 'C:\scn\plain\Setup.exe /qb')"
  log=$(log_messages)
  check_contains "$child: reboot seen" "Reboot signaled after running the main installation" "$log"
  check_contains "$child: final reboot" "Exiting due to final reboot after running the main installation" "$log"
  check_lacks "$child: no restart shortcut made for the main installation" "Hooking reboot before" "$log"
  check_lacks "$child: setup starts no restart itself" "Initiating Reboot..." "$log"
  check "$child: no restart shortcut" "absent" "$(shortcut_state)"
  check "$child: temporary copy removed" "" "$(temp_copies)"
  check "$child: the installer ran once" 'C:\windows\system32\MSIEXEC.EXE /i "C:\scn\plain\Demo.msi" /qb' "$(stub_calls)"
done
check_contains "3010: no restart started, so 3010" \
  "Exit code 3010 instead of 1641: the installer requires a restart and none was started" "$log"

# A failing main installation with a nested setup pending: the final-marker shortcut made before
# it is removed again and the installer's code is setup's.
reset_case
stub_plan 1603
check "1603: setup ends with the installer's code" "0x00000643" "$(run_setup 'C:\scn\nested\Setup.exe /qb')"
log=$(log_messages)
check_contains "1603: shortcut made" "Hooking reboot before running the main installation" "$log"
check_contains "1603: shortcut removed" "Unhooking reboot after installing product" "$log"
check_contains "1603: failure" "Exiting due to failure after running the main installation" "$log"
check_lacks "1603: no nested setup" "Launching the nested installer" "$log"
check "1603: no restart shortcut" "absent" "$(shortcut_state)"
check "1603: temporary copy removed" "" "$(temp_copies)"

# The main installer cannot be started while the final-marker shortcut is in place: the exit
# routine removes the shortcut.
reset_case
break_installer
check "unstartable installer: internal error" "0x80040006" "$(run_setup 'C:\scn\nested\Setup.exe /qn')"
install_stub
log=$(log_messages)
check_contains "unstartable installer: shortcut made" "Hooking reboot before running the main installation" "$log"
check_lacks "unstartable installer: no box under /qn" "Internal Error" "$log"
check_contains "unstartable installer: exit routine unhooks" "Unhooking reboot due to error or normal exit" "$log"
check "unstartable installer: no restart shortcut" "absent" "$(shortcut_state)"
check "unstartable installer: temporary copy removed" "" "$(temp_copies)"

# The installer answers success but installs nothing: the product is not installed from this
# package, which setup reports as a user exit.
reset_case
stub_plan 0
check "nothing installed: 1602" "0x00000642" "$(run_setup 'C:\scn\plain\Setup.exe /qb')"
log=$(log_messages)
check_contains "nothing installed: the installer succeeded" "Process completed with exit code: 00000000" "$log"
check_lacks "nothing installed: not a failure of the installer" "Exiting due to failure" "$log"
check_lacks "nothing installed: no normal end" "Exiting normally" "$log"
check "nothing installed: product absent" "absent" "$(product_state "$DEMO_PRODUCT_CODE")"
# The temporary copy is private (its DACL read back while the installer runs; Wine keeps only what
# Unix permissions can hold: no entry for anyone else), and links planted in it meanwhile are
# neither followed nor scheduled by the deletion at the end. Wine makes no junctions: a Unix link to
# a folder is one to Windows programs (FILE_ATTRIBUTE_REPARSE_POINT).
reset_case
outside="$DRIVE_C/scn/outside"
rm -rf "$outside" "$STUB_DIR/acl.txt" && mkdir -p "$outside/empty" && echo keep >"$outside/keep.txt"
stub_plan "0 acl sleep 2000"
# The restart-time list is carried out at the next session start: this session is kept to the end.
wineserver -w && wineserver -p
start_setup 'C:\scn\plain\Setup.exe /qb'
for _ in $(seq 300); do [ -s "$STUB_DIR/calls.txt" ] && break; sleep 0.05; done
copy=$(temp_copies)
ln -s "$outside" "$copy/junction" && ln -s "$outside/empty" "$copy/junction2"
finish_setup
check "private copy: SYSTEM and the user only" "D:(A;OICI;FA;;;SY)(A;OICI;FA;;;S-1-5-21-0-0-0-1000)" \
  "$(tr -d '\r' <"$STUB_DIR/acl.txt")"
check "junctions: their targets are kept" "empty keep.txt" "$(cd "$outside" && echo *)"
pending=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null | tr -d '\r')
check "junctions: the copy itself is scheduled" yes \
  "$(grep -qF -- "$(winpath "$copy")" <<<"$pending" && echo yes || echo no)"
check_lacks "junctions: nothing through them is scheduled" "junction" "$pending"
check_lacks "junctions: nothing outside the copy is scheduled" 'scn\outside' "$pending"
check_contains "junctions: left in place" "Not deleting \"$(winpath "$copy")\\junction\": it cannot be opened itself" "$(log_messages)"
finish

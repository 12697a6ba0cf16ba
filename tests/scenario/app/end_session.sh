#!/usr/bin/env bash
# Windows ending the session while setup runs: the dialog lets the session end, waits for the
# worker's finish event and ends with the worker's code taken from the queued message; a session
# end that another program cancels changes nothing. Argument: the installer stand-in of sequence/.
STUB_EXE="$1"
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
use_private_wine_prefix end-session  # the stand-in's C:\msiexec-stub stays out of the shared prefix
DRIVE_C="$WINEPREFIX/drive_c"
SETUP_LOG="$DRIVE_C/SETUP.LOG"
scenario_folder ending >/dev/null
export ZBSETUP=LOG
rm -f "$SETUP_LOG"
start_setup 'C:\scn\ending\Setup.exe'
watch_window --caption "Internal Error" --timeout 30000 >/dev/null
answer=$(watch_window --class '#32770' --caption Setup --timeout 10000 --end-session)
check_contains "the session may end" "query-end-session: 1" "$answer"
sleep 1
watch_window --caption "Internal Error" --timeout 10000 --press ok >/dev/null
finish_setup
  check "exit code is the worker's" "0x00000002" "$setup_code"
log=$(log_messages)
for line in "UI Received WM_QUERYENDSESSION message" "UI Received WM_ENDSESSION message" \
            "UI Finish event was signalled"; do
  check_contains "$line" "$line" "$log"
done
# Posted before the event is set: the handler the event wakes always finds the message.
dequeued=$(grep -cx "UI Dequeued WM_ENDSETUPDIALOG message" <<<"$log" || true)
check "the dialog ended once, through the queued message" "1 0" \
  "$dequeued $(grep -cx "UI Received WM_ENDSETUPDIALOG message" <<<"$log" || true)"

# A shutdown cancelled while the engine redistributable (the stand-in, for four seconds) runs:
# setup waits for it and ends as it would have (the engine is still too old afterwards).
dir=$(scenario_folder cancelled)
printf '[ProductInformation]\r\nPackageName=P.msi\r\nMsiVersion=99\r\n[ProductFeatures]\r\n' >"$dir/SETUP.INI"
cp "$STUB_EXE" "$dir/INSNTMSI.EXE"
mkdir -p "$DRIVE_C/msiexec-stub" && printf '0 sleep 4000\r\n' >"$DRIVE_C/msiexec-stub/plan.txt"
rm -f "$SETUP_LOG"
start_setup 'C:\scn\cancelled\Setup.exe /qb'
for _ in $(seq 300); do [ -s "$DRIVE_C/msiexec-stub/calls.txt" ] && break; sleep 0.05; done
watch_window --class '#32770' --caption 'Setup - SETUP.INI' --timeout 10000 --cancel-session >/dev/null
finish_setup
check "cancelled: setup ends as it would have" "0x00000642" "$setup_code"
log=$(log_messages)
check_contains "cancelled: the wait saw the cancel" "The end of the session was cancelled, continuing..." "$log"
check_contains "cancelled: the child ran to its end" "Process completed with exit code: 00000000" "$log"
check_lacks "cancelled: no restart seen" "Reboot detected" "$log"
finish

#!/usr/bin/env bash
# Windows ending the session while setup runs: the dialog lets the session end, waits for the
# worker's finish event and ends with the worker's code taken from the queued message. A session
# end that another program cancels changes nothing: setup waits for its child and goes on.
# Argument: the installer stand-in (tests/scenario/app/sequence), used as the engine redistributable.
STUB_EXE="$1"
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
# The stand-in keeps its plan in C:\msiexec-stub, which stays out of the shared prefix.
use_private_wine_prefix end-session
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
# The worker posts its message before it signals the event: the handler the event wakes always
# finds the message queued.
check "the dialog ended through the queued message" "1" "$(grep -cxF "UI Dequeued WM_ENDSETUPDIALOG message" <<<"$log" || true)"
check_lacks "and only through it" "UI Received WM_ENDSETUPDIALOG message" "$log"

# A shutdown cancelled while the engine redistributable (a stand-in that takes four seconds) runs.
dir=$(scenario_folder cancelled)
printf '[ProductInformation]\r\nPackageName=Product.msi\r\nMsiVersion=99.0\r\n\r\n[ProductFeatures]\r\n' >"$dir/SETUP.INI"
cp "$STUB_EXE" "$dir/INSNTMSI.EXE"
mkdir -p "$DRIVE_C/msiexec-stub"
printf '0 sleep 4000\r\n' >"$DRIVE_C/msiexec-stub/plan.txt"
rm -f "$SETUP_LOG" "$DRIVE_C/msiexec-stub/calls.txt"
start_setup 'C:\scn\cancelled\Setup.exe /qb'
for _ in $(seq 300); do [ -s "$DRIVE_C/msiexec-stub/calls.txt" ] && break; sleep 0.05; done
answer=$(watch_window --class '#32770' --caption 'Setup - SETUP.INI' --timeout 10000 --cancel-session)
check_contains "cancelled: the session may end" "query-end-session: 1" "$answer"
finish_setup
# As without the shutdown: the engine is still too old afterwards.
check "cancelled: setup ends as it would have" "0x00000642" "$setup_code"
log=$(log_messages)
for line in "UI The session goes on" "The end of the session was cancelled, continuing..." \
            "Process completed with exit code: 00000000" \
            "The Windows Installer installation did not complete successfully"; do
  check_contains "cancelled: $line" "$line" "$log"
done
check_lacks "cancelled: no restart seen" "Reboot detected" "$log"
finish

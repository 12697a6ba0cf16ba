#!/usr/bin/env bash
# Windows ending the session while setup runs: the dialog lets the session end, waits for the
# worker's finish event and ends with the worker's code taken from the queued message.
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
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
# The worker signals the event just before it posts: the dialog ends either by taking the posted
# message out of the queue or, when it looked too early, by receiving it.
ended=$(grep -cxE "UI (Dequeued|Received) WM_ENDSETUPDIALOG message" <<<"$log" || true)
check "the dialog ended once, through the worker's message" "1" "$ended"
finish

#!/usr/bin/env bash
# What the real ExitWindowsEx(EWX_REBOOT) does under Wine, seen from the reboot thread: run only in a
# private copy of the shared prefix with its own wineserver, never in the shared one.
set -eu
probe="$1"
. "$SETUP_SOURCE_DIR/tests/harness/wine-env.sh"
ensure_wine_prefix
ensure_display

use_private_wine_prefix reboot
private="$private_root"
rm -f "$WINEPREFIX/drive_c/SETUP.LOG"
# A RunOnce entry shows whether Wine's restart handling ran in this prefix.
wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' /v RebootProbe /d 'cmd /c echo ran> C:\runonce.txt' /f >/dev/null 2>&1

ZBSETUP=LOG timeout 60 wine "$(winpath "$probe")" >"$private/out.txt" 2>/dev/null || echo "probe exit status $?" >>"$private/out.txt"
sleep 1
wineserver -w 2>/dev/null || true

echo "--- probe output"; cat "$private/out.txt"
echo "--- setup log"; tr -d '\r' <"$WINEPREFIX/drive_c/SETUP.LOG" 2>/dev/null || true
echo "--- RunOnce"; if [ -f "$WINEPREFIX/drive_c/runonce.txt" ]; then echo "RunOnce entry was run"; else echo "RunOnce entry not run"; fi

fail=0
grep -q "reboot thread ended: yes, exit code 0" "$private/out.txt" || { echo "FAIL: reboot thread did not end with 0"; fail=1; }
grep -q " - Initiating Reboot...$" <(tr -d '\r' <"$WINEPREFIX/drive_c/SETUP.LOG") || { echo "FAIL: no 'Initiating Reboot...'"; fail=1; }
grep -q " - Reboot initiated.$" <(tr -d '\r' <"$WINEPREFIX/drive_c/SETUP.LOG") || { echo "FAIL: no 'Reboot initiated.'"; fail=1; }
if grep -q "ExitWindowsEx() failed" "$WINEPREFIX/drive_c/SETUP.LOG"; then echo "FAIL: ExitWindowsEx failed"; fail=1; fi
# Wine answers the request by ending the session of this prefix: windows are asked, RunOnce runs.
grep -q "WM_QUERYENDSESSION" "$private/out.txt" || { echo "FAIL: the session end did not reach the window"; fail=1; }
[ -f "$WINEPREFIX/drive_c/runonce.txt" ] || { echo "FAIL: Wine's restart handling did not run"; fail=1; }
exit $fail

#!/usr/bin/env bash
# The main job: builds Setup.EXE, lays out the bundled example package and runs it under Wine with
# logging on, then shows C:\SETUP.LOG and the exit code.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# Where this kernel runs no 32-bit code, the same sources run as a 64-bit program in a 64-bit prefix.
preset=$(bash scripts/windows-preset.sh)
[ "$preset" = win32 ] || echo "== this machine runs no 32-bit code: running the 64-bit build of Setup.EXE"
build=$(bash scripts/build-setup.sh "$preset")
export SETUP_WINE_ROOT="$PWD/$build/wine"
[ "$preset" = win32 ] || export SETUP_WINE_ARCH=win64
. tests/harness/wine-env.sh
ensure_wine_prefix
ensure_display
trap stop_wine_session EXIT
demo="$WINEPREFIX/drive_c/demo"
rm -rf "$demo" && mkdir -p "$demo"
cp "$build/src/app/Setup.exe" "$demo/Setup.exe"
cp examples/demo/SETUP.INI "$demo/"
(cd examples/demo && wixl -o "$demo/Demo.msi" Demo.wxs)
rm -f "$WINEPREFIX/drive_c/SETUP.LOG"
echo "== running: C:\\demo\\Setup.exe /qb"
out=$(ZBSETUP=LOG wine "$build/tests/harness/runexe.exe" 'C:\demo\Setup.exe /qb' 2>/dev/null | tr -d '\r')
echo "== C:\\SETUP.LOG"
cat "$WINEPREFIX/drive_c/SETUP.LOG" 2>/dev/null | tr -d '\r' || echo "(no log written)"
code=${out#exit=}
echo "== exit code: $code ($((code)))"
# Leave the prefix as it was, so that the next run installs afresh.
wine msiexec /x '{6F1C2B1E-0D3A-4C55-9E61-3B7A1D2C4E01}' /qn >/dev/null 2>&1 || true

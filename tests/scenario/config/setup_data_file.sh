#!/usr/bin/env bash
# Setup.EXE loading the setup data file its command line names, and the internal error of a
# missing one (exit code 2, the system's file-not-found code).
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
dir=$(scenario_folder named)
mkdir -p "$dir/sub"
write_demo_package "$dir/sub"
mv "$dir/sub/SETUP.INI" "$dir/sub/custom.ini"
export ZBSETUP=LOG
remove_demo_product
trap remove_demo_product EXIT

rm -f "$SETUP_LOG"
check "a named setup data file in a subfolder" "0x00000000" "$(run_setup 'C:\scn\named\Setup.exe sub\custom.ini /qb')"
log=$(log_messages)
check_contains "it is loaded from the launcher folder" 'Loading setup data file: C:\scn\named\sub\custom.ini' "$log"
check_contains "the package is taken from the file's folder" \
  'Command Line = C:\windows\system32\MSIEXEC.EXE /i "C:\scn\named\sub\Demo.msi" /qb' "$log"
remove_demo_product

# A named file that does not exist: the box of the load failure, then exit code 2.
rm -f "$SETUP_LOG"
start_setup 'C:\scn\named\Setup.exe missing.ini /qb'
box=$(watch_window --caption "Internal Error" --timeout 30000 --dump --press ok)
check_contains "the box names location 1 and the system's code" "control 65535 Static: Error Code: 0001.00000002" "$box"
finish_setup
check "exit code of a missing named file" "0x00000002" "$setup_code"
log=$(log_messages)
check_contains "load line" 'Loading setup data file: C:\scn\named\missing.ini' "$log"
check_contains "open failure" 'Call to CTCharStream::OpenStream( C:\scn\named\missing.ini ) failed.' "$log"
check_contains "internal error logged" "Error Code: 0001.00000002" "$log"

# The same under /qn: no box, same code.
check "missing named file, quiet" "0x00000002" "$(run_setup 'C:\scn\named\Setup.exe missing.ini /qn')"

# A malformed line: the library's code 13 (invalid data).
printf '[ProductInformation\r\nPackageName=x.msi\r\n' >"$dir/bad.ini"
check "malformed setup data file, quiet" "0x0000000D" "$(run_setup 'C:\scn\named\Setup.exe bad.ini /qn')"
finish

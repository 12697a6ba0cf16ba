#!/usr/bin/env bash
# The setup log (switch, line format, start-up lines) and exit codes of the start-up frame.
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
dir=$(scenario_folder frame)
write_demo_package "$dir"
remove_demo_product
trap remove_demo_product EXIT

# No ZBSETUP, or one without LOG: no log file at all.
rm -f "$SETUP_LOG"
unset ZBSETUP
check "normal run without logging" "0x00000000" "$(run_setup 'C:\scn\frame\Setup.exe /qb')"
remove_demo_product
check "no log file without ZBSETUP" "absent" "$([ -e "$SETUP_LOG" ] && echo present || echo absent)"
export ZBSETUP=DEBUG
run_setup 'C:\scn\frame\Setup.exe /qb' >/dev/null
remove_demo_product
check "no log file with ZBSETUP=DEBUG" "absent" "$([ -e "$SETUP_LOG" ] && echo present || echo absent)"

# ZBSETUP is read through a 260-byte buffer: 259 bytes are read, 260 and 261 are not read at all
# (no log). A launcher without SETUP.INI beside it ends at once.
scenario_folder zbsetup >/dev/null
for length in 259 260 261; do
  rm -f "$SETUP_LOG"
  ZBSETUP="LOG,$(printf '%*s' $((length - 4)) '' | tr ' ' x)" run_setup 'C:\scn\zbsetup\Setup.exe /qn' >/dev/null
  check "ZBSETUP of $length bytes" "$([ "$length" -lt 260 ] && echo present || echo absent)" \
    "$([ -e "$SETUP_LOG" ] && echo present || echo absent)"
done

# A quoted program name followed by two blanks: the argument string keeps one blank.
export ZBSETUP=x,log
check "normal run with logging" "0x00000000" "$(run_setup '"C:\scn\frame\Setup.exe"  /qb')"
log=$(log_messages)
check_lacks "every line has its time stamp" "BAD-STAMP" "$log"
check "first line" "Worker thread starting..." "$(head -1 <<<"$log")"
check_contains "ANSI code page" "User default ANSI code page: 1252" "$log"
check_contains "OEM code page" "User default OEM code page: 437" "$log"
check_contains "module name" 'Module filename = C:\scn\frame\Setup.exe' "$log"
check_contains "command line" 'Setup command line = "C:\scn\frame\Setup.exe"  /qb' "$log"
check_contains "setup data loaded" 'Loading setup data file: C:\scn\frame\SETUP.INI' "$log"
check_contains "fresh run" "Starting the SETUP process from the beginning" "$log"
check_contains "exit status" "Worker thread exiting with status code: 00000000" "$log"
check_contains "finish event" "Setting Finish Event..." "$log"
check_contains "normal end" "Exiting normally" "$log"
check_contains "the dialog ended" "UI Received WM_ENDSETUPDIALOG message" "$log"
remove_demo_product

# C:\SETUP.LOG that cannot be created (a folder here, a standard user on Windows): the log is
# SETUP.LOG in the user's temporary folder, and its first line says why.
rm -f "$SETUP_LOG" && mkdir "$SETUP_LOG" && temp=$(ls -d "$DRIVE_C"/users/*/Temp) && rm -f "$temp/SETUP.LOG"
check "run with C:\SETUP.LOG a folder" "0x00000000" "$(run_setup 'C:\scn\frame\Setup.exe /qb')"
rmdir "$SETUP_LOG" && remove_demo_product
user=$(basename "$(dirname "$temp")")
check "the log in the temporary folder says why" "C:\SETUP.LOG cannot be opened (error code = \
0x00000005): logging to C:\users\\$user\Temp\SETUP.LOG" "$(head -1 "$temp/SETUP.LOG" | tr -d '\r' | cut -c21-)"
rm -f "$temp/SETUP.LOG"

# An unclosed quote in the program name ends with 1639.
rm -f "$SETUP_LOG"
check "unclosed quote in the program name" "0x00000667" "$(run_setup '"C:\scn\frame\Setup.exe /qb' --app 'C:\scn\frame\Setup.exe')"
check_contains "its log line" "Failed extracting the program name from the command line" "$(log_messages)"

# An internal error under a quiet switch: no box, and the full 32-bit code leaves the process.
rm -f "$SETUP_LOG"
check "unbalanced argument quote under /qn" "0x80040007" "$(run_setup 'C:\scn\frame\Setup.exe /qn "unbalanced')"
check_lacks "no box was logged under /qn" "Internal Error" "$(log_messages)"
check_contains "exit status logged" "Worker thread exiting with status code: 80040007" "$(log_messages)"
# C:\SETUP.LOG is opened without following a link in its place: with another file's second name
# there (a hard link; Wine shows a symbolic link to a file as the file itself), nothing is written.
printf 'not a log\n' >"$DRIVE_C/scn/victim.txt"
rm -f "$SETUP_LOG" && ln "$DRIVE_C/scn/victim.txt" "$SETUP_LOG"
run_setup 'C:\scn\frame\Setup.exe /qn "unbalanced' >/dev/null
check "a link at C:\SETUP.LOG is not written through" "not a log" "$(cat "$DRIVE_C/scn/victim.txt")"
rm -f "$SETUP_LOG" "$DRIVE_C/scn/victim.txt"
# Long launcher paths, under 260-byte buffers: a folder that leaves the names just room installs; a
# setup data path past 259 bytes is internal error 206, never a cut path. (Wine starts no program
# whose own path has 260 characters or more, so a module name that long cannot be had here.)
long_folder() {  # long_folder LENGTH: a folder whose Windows path has LENGTH bytes
  local rest=$(($1 - 12)) path="$DRIVE_C/scn/long" win='C:\scn\long'
  rm -rf "$path"
  while [ "$rest" -gt 0 ]; do
    local part=$((rest > 101 ? 100 : rest - 1))
    local name=$(printf '%*s' "$part" '' | tr ' ' d)
    path="$path/$name" win="$win\\$name" rest=$((rest - part - 1))
  done
  mkdir -p "$path"
  printf '%s\t%s\n' "$path" "$win"
}
IFS=$'\t' read -r unix win < <(long_folder 245)
cp "$SETUP_EXE" "$unix/Setup.exe" && write_demo_package "$unix"
check "launcher folder of 245 bytes" "0x00000000" "$(run_setup "\"$win\\Setup.exe\" /qb")"
remove_demo_product
IFS=$'\t' read -r unix win < <(long_folder 251)
cp "$SETUP_EXE" "$unix/S.exe" && write_demo_package "$unix"
check "setup data path of 261 bytes" "0x000000CE" "$(run_setup "\"$win\\S.exe\" /qn")"
check "nothing installed from a long folder" "absent" "$(demo_product_installed)"
finish

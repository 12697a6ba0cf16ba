#!/usr/bin/env bash
# A SETUP.INI in code page 932 whose paths hold double-byte characters with a second byte of "["
# or "\": it loads and installs under a Japanese locale. Read as ANSI 1252 the same file keeps
# failing as before (a bracket in a key). (A launcher folder with such a name is left to the host
# tests: without a generated Linux locale, Wine maps UTF-8 file names through another charset.)
. "$SETUP_SOURCE_DIR/tests/scenario/scenario-lib.sh"
remove_demo_product
trap remove_demo_product EXIT
export ZBSETUP=LOG

# "ツール" holds 0x81 0x5B ("ー"), "ソフト" 0x83 0x5C ("ソ"), "ウィンドウ" only lead/trail pairs.
write_dbcs_ini() {
  printf '%s\r\n' '[ProductInformation]' 'PackageName=Demo.msi' \
    'CheckRegKey=HKEY_CURRENT_USER,Software\ツール\ソフト,値' '[ProductFeatures]' 'Complete' \
    '[ShutdownApplication]' 'ツールウィンドウ,100' '[LaunchApplications]' 'C:\ツール\ソフト.exe /x=1' |
    iconv -f UTF-8 -t CP932 >"$1/SETUP.INI"
}

dir=$(scenario_folder dbcs)
write_demo_package "$dir"
write_dbcs_ini "$dir"
rm -f "$SETUP_LOG"
code=$(LC_ALL=ja_JP.UTF-8 run_setup 'C:\scn\dbcs\Setup.exe /qn')
check "code page 932: setup succeeds" "0x00000000" "$code"
check "code page 932: the product is installed" "installed" "$(demo_product_installed)"
check_contains "code page 932: the post-install entry is read" "Launching any post-install applications" "$(log_messages)"
remove_demo_product

dir=$(scenario_folder ansi)
write_demo_package "$dir"
write_dbcs_ini "$dir"
check "code page 1252: the bracket in the key is refused" "0x0000000D" \
  "$(LC_ALL=C run_setup 'C:\scn\ansi\Setup.exe /qn')"
check "code page 1252: nothing is installed" "absent" "$(demo_product_installed)"
finish

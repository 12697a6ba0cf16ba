#!/usr/bin/env bash
# Installs what building and testing need, only when something is missing (Debian, as root or with sudo).
set -euo pipefail
need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have ninja || need+=(ninja-build)
have g++ || need+=(g++)
have clang++ || need+=(clang)
have python3 || need+=(python3)
have i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix mingw-w64-i686-dev)
# Without IA-32 emulation the tests run a 64-bit build (scripts/windows-preset.sh).
if [ -e /lib/ld-linux.so.2 ] && ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)
fi
have wixl || need+=(wixl msitools)
have msibuild || need+=(msitools)
have Xvfb || need+=(xvfb xauth)
have curl || need+=(curl)
[ -d /usr/src/googletest/googletest ] || need+=(googletest)
[ -e /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
# the fuzzing runtime ships with clang's compiler-rt
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-dev)
wine_ok=1
have wine || wine_ok=0
dpkg -s wine32:i386 >/dev/null 2>&1 || wine_ok=0
if [ ${#need[@]} -eq 0 ] && [ $wine_ok = 1 ]; then exit 0; fi
SUDO=; [ "$(id -u)" = 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
if [ $wine_ok = 0 ]; then
  $SUDO dpkg --add-architecture i386
  need+=(wine wine32 wine64)
fi
echo "Installing: ${need[*]}" >&2
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
# The 32-bit loader arrives with wine32: only now can it tell whether this kernel runs 32-bit code.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1 && ! have x86_64-w64-mingw32-g++-posix; then
  echo "Installing: g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev (this kernel runs no 32-bit code)" >&2
  $SUDO apt-get install -y -qq --no-install-recommends g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev >/dev/null
fi

#!/usr/bin/env bash
# Installs what building and testing need, only when something is missing (Debian, as root or with sudo).
set -euo pipefail
need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have ninja || need+=(ninja-build)
have g++ || need+=(g++)
have clang++ || need+=(clang)
have clang-format || need+=(clang-format)
have python3 || need+=(python3)
have i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix mingw-w64-i686-dev)
# The 64-bit build: every machine builds it; machines without IA-32 emulation run their Windows
# tests on it (scripts/windows-preset.sh).
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)
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
# Say what is about to happen, then let apt show its own progress: a silent minute looks like a hang.
if [ $wine_ok = 0 ]; then
  echo "== deps.sh: adding the i386 architecture (Wine's 32-bit half)" >&2
  $SUDO dpkg --add-architecture i386
  need+=(wine wine32 wine64)
fi
echo "== deps.sh: installing ${#need[@]} missing packages: ${need[*]}" >&2
echo "== deps.sh: apt-get update" >&2
$SUDO apt-get update >&2
echo "== deps.sh: apt-get install" >&2
$SUDO apt-get install -y --no-install-recommends "${need[@]}" >&2
echo "== deps.sh: done" >&2

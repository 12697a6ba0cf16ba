#!/usr/bin/env bash
# Prints the CMake preset whose Windows build this machine can run under Wine: `win32` (the shipped
# 32-bit launcher) where the kernel runs 32-bit code, else `win64` (the same sources as a 64-bit
# program, in a 64-bit prefix), for kernels without IA-32 emulation.
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then echo win32; else echo win64; fi

#!/bin/bash
# Installs what the build and the tests need on a Debian 12 machine, as root, when it is
# missing: the MinGW-w64 cross compilers for 32-bit Windows and x64 (the -win32 thread
# model builds the DLLs and vnkcall.exe, which must load on Windows XP; the -posix one
# the tests), Wine (32- and 64-bit), CMake, clang with its sanitizer runtimes, GoogleTest,
# the 32-bit libraries that build the kernel tests as i686 code, and the user-mode
# emulator that runs them on a machine that cannot run 32-bit programs (called by name:
# nothing is registered with the kernel).
set -euo pipefail
need=()
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686-posix)
command -v i686-w64-mingw32-g++-win32 >/dev/null || need+=(g++-mingw-w64-i686-win32)
command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64-posix)
command -v x86_64-w64-mingw32-g++-win32 >/dev/null || need+=(g++-mingw-w64-x86-64-win32)
command -v wine >/dev/null || need+=(wine wine32 wine64)
[ -e /usr/lib/wine/i386-windows ] || [ -e /usr/lib/i386-linux-gnu/wine ] || need+=(wine32)
command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ] || need+=(wine64)
command -v cmake >/dev/null || need+=(cmake)
command -v make >/dev/null || need+=(make)
command -v clang++ >/dev/null || need+=(clang)
# The sanitizer runtimes, x86-64 and i686: only recommended by clang, which
# --no-install-recommends leaves out.
[ -e "$(clang --print-runtime-dir 2>/dev/null)/libclang_rt.asan-i386.a" ] || need+=(libclang-rt-dev)
# -m32: the 32-bit C and C++ libraries, start files and headers.
[ -e /usr/lib32/crt1.o ] && compgen -G '/usr/lib/gcc/x86_64-linux-gnu/*/32/libstdc++.so' >/dev/null || need+=(g++-multilib)
command -v qemu-i386-static >/dev/null || need+=(qemu-user-static)
[ -d /usr/src/googletest ] || need+=(googletest)
command -v python3 >/dev/null || need+=(python3)
command -v uudecode >/dev/null || need+=(sharutils)
if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    if [[ " ${need[*]} " == *" wine32 "* ]]; then dpkg --add-architecture i386; fi
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need[@]}"
fi

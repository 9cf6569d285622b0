#!/usr/bin/env bash
# Builds build/native (portable core and its unit tests), build/win32 (the
# x86 quorvel.exe) and build/win64 (the x64 quorvel.exe), each Windows build
# with its end-to-end test programs.
# Usage: scripts/build.sh [--program] [native|win32|win64]...   (all three when none is named)
#   --program: the Windows builds make quorvel.exe only, without the test programs
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
only=()
if [ "${1:-}" = --program ]; then only=(--target quorvel); shift; fi
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(native win32 win64)

for t in "${targets[@]}"; do
    case "$t" in
    native)
        cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
        cmake --build "$root/build/native" -j "$jobs" ;;
    win32|win64)
        toolchain=mingw-i686
        [ "$t" = win64 ] && toolchain=mingw-x86_64
        cmake -S "$root" -B "$root/build/$t" -DCMAKE_BUILD_TYPE=Release \
              -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" >/dev/null
        cmake --build "$root/build/$t" -j "$jobs" "${only[@]}" ;;
    *) echo "build.sh: unknown target $t" >&2; exit 2 ;;
    esac
done

#!/usr/bin/env bash
# Compiles the program's Win32 layer (every *_win32.cpp outside tests/) once
# more with clang against the MinGW-w64 headers, for the warnings GCC does
# not give: GCC says nothing when the result of a [[nodiscard]] virtual
# function (the platform seams) is dropped, clang does. Syntax only; the
# program itself is built by GCC. clang knows no code page 932 execution
# character set, so, as in the fuzz build, the table of the user's texts is
# read from a copy with escaped literals (tests/fuzz/cp932_literals.py).
# Usage: scripts/check_win32_clang.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

target=x86_64-w64-mingw32
# MinGW-w64's C++ headers as its own g++ finds them, then its C headers;
# clang keeps its own compiler headers.
system_includes=()
while read -r dir; do
    case "$dir" in
    */c++*) system_includes+=(-isystem "$dir") ;;
    esac
done < <(LC_ALL=C "$target-g++" -E -x c++ -v - </dev/null 2>&1 |
         sed -n '/^#include <...> search starts here:/,/^End of search list./p')
system_includes+=(-isystem "/usr/$target/include")

table=$(mktemp -d)
trap 'rm -rf "$table"' EXIT
mkdir -p "$table/text"
python3 tests/fuzz/cp932_literals.py text/user_texts.h "$table/text/user_texts.h"

failed=0
while read -r source; do
    LC_ALL=C clang++ --target="$target" -std=c++17 -fsyntax-only -nostdinc++ -nostdlibinc \
        -I"$table" -I. "${system_includes[@]}" -Wall -Wextra -Werror "$source" || failed=1
done < <(find . \( -path ./build -o -path ./tests -o -path ./.git \) -prune -o \
              -name '*_win32.cpp' -print | sort)
exit "$failed"

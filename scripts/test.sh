#!/usr/bin/env bash
# Installs what is missing, checks that no source but the table of the
# user's texts spells one and that the Win32 layer drops no result that
# must be looked at, builds everything and runs every test: the unit
# tests of the portable core natively (under ASan and UBSan), a short run of
# its fuzz targets, the release made twice (here and from a second clone
# elsewhere) and checked, then the end-to-end tests of the released program
# under Wine with a private Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# One run at a time: a second would rebuild and delete the prefix under the first.
mkdir -p build
exec 9>build/test.lock
flock 9

bash scripts/setup.sh

echo "== the user's texts in their table"
python3 scripts/check_texts.py

echo "== the Win32 layer through clang (no result dropped unseen)"
scripts/check_win32_clang.sh

source scripts/wine_session.sh
scripts/build.sh native win32 win64

echo "== unit tests"
ctest --test-dir build/native --output-on-failure -j "$(nproc)"

echo "== fuzzing (a short run of every target)"
scripts/fuzz.sh 15

echo "== release (dist/) and its checks"
scripts/release.sh
bash tests/release/reproducible.sh

# Both builds go through the same end-to-end tests wherever Wine can run
# them; the x86-64 one always can. Where both can, the two suites run side
# by side, each in its own prefix with its own wineserver and Xvfb; each
# suite's output is shown once it has ended.
run_suite() {
    export QUORVEL_WINE_BUILD=$1
    local prefix="$root/build/e2e/prefix-$1"
    rm -rf "$prefix"
    trap wine_session_stop EXIT
    wine_session_start "$prefix"
    python3 tests/e2e/run_e2e.py
}
builds=(win64)
if wine_runs_32bit; then
    builds=(win32 win64)
    export QUORVEL_WINE32=1  # the x86 build can also run in the 64-bit prefix
fi
mkdir -p build/e2e
suites=()
for build in "${builds[@]}"; do
    ( run_suite "$build" ) >"build/e2e/$build.log" 2>&1 &
    suites+=($!)
done
failed=0
for i in "${!builds[@]}"; do
    status=0
    wait "${suites[$i]}" || status=$?
    echo "== end-to-end tests (${builds[$i]} build under Wine)"
    cat "build/e2e/${builds[$i]}.log"
    [ "$status" = 0 ] || failed=1
done
exit "$failed"

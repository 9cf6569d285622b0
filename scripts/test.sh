#!/usr/bin/env bash
# Installs what is missing, checks that no source but the table of the
# user's texts spells one, builds everything and runs every test: the unit
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
# them; the x86-64 one always can.
builds=(win64)
if wine_runs_32bit; then
    builds=(win32 win64)
    export QUORVEL_WINE32=1  # the x86 build can also run in the 64-bit prefix
fi
trap wine_session_stop EXIT
for build in "${builds[@]}"; do
    echo "== end-to-end tests ($build build under Wine)"
    export QUORVEL_WINE_BUILD=$build
    prefix="$root/build/e2e/prefix-$build"
    rm -rf "$prefix"
    wine_session_start "$prefix"
    python3 tests/e2e/run_e2e.py
    wine_session_stop
done

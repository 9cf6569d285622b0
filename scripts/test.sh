#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit
# tests of the portable core natively (under ASan and UBSan), then the
# end-to-end tests of the real program under Wine with a private Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# One run at a time: a second would rebuild and delete the prefix under the first.
mkdir -p build
exec 9>build/test.lock
flock 9

bash scripts/setup.sh
source scripts/wine_session.sh
_wine_choose_loader
builds=(native win32)
[ "$WINE_BUILD" = win32 ] || builds+=("$WINE_BUILD")
scripts/build.sh "${builds[@]}"

echo "== unit tests"
ctest --test-dir build/native --output-on-failure -j "$(nproc)"

echo "== end-to-end tests ($WINE_BUILD build under Wine)"
prefix="$root/build/e2e/prefix"
rm -rf "$prefix"
trap wine_session_stop EXIT
wine_session_start "$prefix"
python3 tests/e2e/run_e2e.py

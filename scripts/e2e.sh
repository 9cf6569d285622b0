#!/usr/bin/env bash
# Runs end-to-end tests by name (every one when none is named) against the
# sources as they are: builds the Windows build this machine's Wine runs,
# with its test programs, makes the release (the tests install quorvel.exe
# from dist/) and runs the tests in a fresh prefix of that build, as
# scripts/test.sh does, stopping the session at the end.
# Usage: scripts/e2e.sh [--keep] [TEST_NAME...]
#   --keep: reuse the prefix of the last run (build/e2e/prefix-<build>)
#           instead of making it again, which saves the prefix's boot
#   QUORVEL_WINE_BUILD=win64: the x64 build even where 32-bit Wine runs
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
keep=0
if [ "${1:-}" = --keep ]; then keep=1; shift; fi
# One run at a time, shared with scripts/test.sh: each rebuilds the
# release and the prefix the other may be using.
mkdir -p build
exec 9>build/test.lock
flock 9

bash scripts/setup.sh >/dev/null
source scripts/wine_session.sh
_wine_choose_loader
scripts/build.sh "$WINE_BUILD"
scripts/release.sh
export QUORVEL_WINE_BUILD=$WINE_BUILD
prefix="$root/build/e2e/prefix-$WINE_BUILD"
[ "$keep" = 1 ] || rm -rf "$prefix"
trap wine_session_stop EXIT
wine_session_start "$prefix"
python3 tests/e2e/run_e2e.py "$@"

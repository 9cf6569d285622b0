#!/usr/bin/env bash
# Builds quorvel.exe (x86 and x64) and runs it under Wine with a Japanese locale. Without a
# display it starts a private Xvfb, saves a screenshot of the running program
# as build/screenshot.png and closes the program again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
source scripts/wine_session.sh
_wine_choose_loader
scripts/build.sh win32 win64
if [ "$WINE_BUILD" != win32 ]; then
    echo "run: this machine's Wine runs only 64-bit programs; running the x64 build"
fi
exe="$root/build/$WINE_BUILD/quorvel.exe"
driver="$root/build/$WINE_BUILD/tests/e2e/uidrive.exe"

headless=0
[ -z "${DISPLAY:-}" ] && headless=1
trap wine_session_stop EXIT
wine_session_start "$root/build/wine-run"

if [ "$headless" = 0 ]; then
    wine "$exe"
    exit 0
fi
wine "$exe" &
program=$!
wine "$driver" wait-window 60000
sleep 1  # let the first paint finish
import -window root "$root/build/screenshot.png"
echo "run: screenshot saved as $root/build/screenshot.png"
wine "$driver" close
wait "$program" || true

#!/usr/bin/env bash
# Builds quorvel.exe for x64 and x86 (reusing build/win64 and build/win32:
# the normal build is the release build) and writes the release into dist/:
#   quorvel-<version>-x64.zip, quorvel-<version>-x86.zip   quorvel.exe, readme.txt, LICENSE
#   SHA256SUMS                                             both zips and both executables
# <version> is the executables' version resource. The same commit gives the
# same bytes anywhere: the zips' entries are dated at the commit's time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd -P)
cd "$root"

checkout=0
if command -v git >/dev/null && [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$root" ]; then
    checkout=1
fi
if [ "$checkout" = 1 ]; then
    # The commit's own time, even when SOURCE_DATE_EPOCH says otherwise: the
    # packages of a commit are the same for everyone.
    epoch=$(git log -1 --format=%ct)
    if [ -n "$(git status --porcelain)" ]; then
        echo "release: the working tree has changes not committed; these packages are not those of commit $(git rev-parse --short HEAD)" >&2
    fi
elif [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    epoch=$SOURCE_DATE_EPOCH
    echo "release: not a git checkout; the packages are dated from SOURCE_DATE_EPOCH ($epoch)"
else
    epoch=0
    echo "release: not a git checkout and no SOURCE_DATE_EPOCH; the packages are dated 1980-01-01." >&2
    echo "release: set SOURCE_DATE_EPOCH to the commit's time (git log -1 --format=%ct) to make the published packages." >&2
fi

bash scripts/setup.sh >/dev/null
scripts/build.sh --program win64 win32
rm -rf dist
python3 scripts/release.py "$epoch" dist

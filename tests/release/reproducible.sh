#!/usr/bin/env bash
# Checks the release in dist/ (run scripts/release.sh first) and makes the
# same commit's release a second time, from a fresh clone in another folder,
# later, with another time zone, umask, locale and environment: both must
# give the same SHA256SUMS.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd -P)

second=()
if command -v git >/dev/null && [ "$(git -C "$root" rev-parse --show-toplevel 2>/dev/null)" = "$root" ]; then
    work=$(mktemp -d /tmp/quorvel-second-release.XXXXXX)
    trap 'rm -rf "$work"' EXIT
    clone="$work/another/folder/quorvel"
    git clone -q --no-local "$root" "$clone"
    git -C "$clone" checkout -q --detach "$(git -C "$root" rev-parse HEAD)"
    # Changes not committed yet go along, so that a developer's run compares
    # like with like.
    git -C "$root" diff --binary HEAD | git -C "$clone" apply --binary --allow-empty
    (cd "$root" && git ls-files -z --others --exclude-standard | xargs -0 -r cp --parents -t "$clone")
    started=$SECONDS
    # A SOURCE_DATE_EPOCH of its own must not change anything in a checkout.
    if ! (cd "$clone" && umask 077 &&
          env -i PATH="$PATH" HOME="$work" USER=somebody LOGNAME=somebody LC_ALL=C.UTF-8 \
              TZ=Pacific/Kiritimati SOURCE_DATE_EPOCH=1 bash scripts/release.sh) \
          >"$work/release.log" 2>&1; then
        cat "$work/release.log"
        echo "release: the second release failed" >&2
        exit 1
    fi
    echo "release: made a second time in $clone in $((SECONDS - started)) s"
    second=("$clone/dist")
else
    echo "release: not a git checkout, so no second release to compare"
fi
python3 "$root/tests/release/test_release.py" "$root/dist" "${second[@]}"

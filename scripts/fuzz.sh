#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz) with clang++ into build/fuzz and
# runs each for a bounded time, starting from its seed corpus in
# tests/fuzz/corpus/<target>. Inputs found along the way go to
# build/fuzz/corpus/<target>, so the project's corpus stays small; an input
# that breaks a target is kept as build/fuzz/findings/<target>-crash-...
# and the script fails.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (60 seconds, every target)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build="$root/build/fuzz"

cmake -S "$root" -B "$build" -DQUORVEL_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for seeds in "$root"/tests/fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

mkdir -p "$build/findings"
for t in "${targets[@]}"; do
    echo "== fuzz $t (${seconds} s)"
    mkdir -p "$build/corpus/$t"
    "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/findings/$t-" \
        "$build/corpus/$t" "$root/tests/fuzz/corpus/$t" 2>"$build/$t.log" ||
        { tail -n 40 "$build/$t.log"; echo "fuzz: $t failed; input kept in build/fuzz/findings" >&2; exit 1; }
    grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$build/$t.log" | tr '\n' ' '
    echo
done

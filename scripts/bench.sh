#!/usr/bin/env bash
# Benchmark of the table refresh and the sort, in a throw-away Wine prefix
# with 1,000 and then 3,000 extra services. For each size it prints:
#   bare   the Service Control Manager calls of one refresh as first built,
#          no window (bench_probe.exe: per service open, sizing and
#          fetching configuration calls, close), median of 3
#   fill   the program's refresh command over the same services, median of 3
#   sort   one header click on the Path column, median of 3
# Targets at 3,000 services: fill <= 0.85 x bare; sort <= 10 ms.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh >/dev/null
source scripts/wine_session.sh
_wine_choose_loader
scripts/build.sh "$WINE_BUILD" >/dev/null
bin="$root/build/$WINE_BUILD"
prefix="$root/build/bench/prefix"
rm -rf "$prefix"
trap wine_session_stop EXIT
wine_session_start "$prefix"
dir="$prefix/drive_c/qbench"
mkdir -p "$dir"
cp "$bin/quorvel.exe" "$bin"/tests/e2e/{scmfix,uidrive,bench_probe,testsvc}.exe "$dir"
run() { wine "C:\\qbench\\$1" "${@:2}"; }
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

made=0
printf '%-9s %10s %10s %8s %8s\n' services bare_ms fill_ms ratio sort_ms
for total in 1000 3000; do
    run scmfix.exe bulk-create qbench_ "$total" 'C:\qbench\testsvc.exe quick' >/dev/null
    made=$total
    bare=$(for i in 1 2 3; do run bench_probe.exe | awk '{print $2}'; done | median)
    run quorvel.exe &
    program=$!
    run uidrive.exe wait-window 600000
    fill=$(for i in 1 2 3; do run uidrive.exe time-send 40008; done | median)
    sorts=$(for i in 1 2 3; do
        run uidrive.exe send 40008 >/dev/null
        run uidrive.exe time-sort 5
    done | median)
    run uidrive.exe close
    wait "$program" || true
    count=$(run bench_probe.exe | awk '{print $1}')
    ratio=$(awk -v f="$fill" -v b="$bare" 'BEGIN {printf "%.2f", f / b}')
    printf '%-9s %10s %10s %8s %8s\n' "$count" "$bare" "$fill" "$ratio" "$sorts"
done
awk -v r="$ratio" -v s="$sorts" 'BEGIN {
    printf "targets at 3,000: ratio %s <= 0.85 %s, sort %s ms <= 10 %s\n",
        r, (r <= 0.85 ? "met" : "MISSED"), s, (s <= 10 ? "met" : "MISSED") }'

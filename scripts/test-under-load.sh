#!/usr/bin/env bash
# Runs the whole test suite several times in a row while other processes keep every core busy, and says
# how each round went: the tests wait for states, never for fixed times, so a loaded machine must not
# make one fail. Builds first, like scripts/test.sh.
#   scripts/test-under-load.sh [ROUNDS]   (3 by default; extra arguments go to ctest)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-3}
shift || true
"$top/scripts/build.sh" --quiet
cd "$top"

cores=$(nproc)
load=()
stop_load() {
    [ ${#load[@]} -gt 0 ] && kill "${load[@]}" 2>/dev/null
    wait 2>/dev/null || true
}
trap stop_load EXIT
for _ in $(seq "$cores"); do
    # A busy loop at normal priority on every core, for as long as the rounds last.
    bash -c 'while :; do :; done' &
    load+=($!)
done
echo "load: $cores busy loop(s) started; $rounds round(s) of the whole suite"

failed=0
for round in $(seq "$rounds"); do
    log="$top/build/test-under-load-$round.log"
    start=$(date +%s)
    if ctest --preset mingw-i686 "$@" >"$log" 2>&1; then
        echo "round $round: passed in $(($(date +%s) - start)) s ($(grep -o '[0-9]*% tests passed.*' "$log" | head -1))"
    else
        failed=$((failed + 1))
        echo "round $round: FAILED in $(($(date +%s) - start)) s; log in $log:"
        sed -n '/The following tests FAILED/,$p' "$log"
    fi
done
[ "$failed" = 0 ] && echo "load: every round passed" || echo "load: $failed round(s) failed"
exit $((failed > 0))

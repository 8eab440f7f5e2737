#!/usr/bin/env bash
# Sets up what is missing on this machine, then configures and builds (incrementally).
#   scripts/build.sh [--quiet]
# With --quiet (the run, package and bench scripts), the set-up and the build write to build/build.log
# instead of the terminal, and a failure prints that log, compiler errors included, before the exit code.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# CMake reads a semicolon in a path as a list separator and a backslash as an escape: no build can start
# from such a folder, so say so at once rather than after the set-up.
case "$top" in
    *';'* | *'\'*)
        echo "build: CMake cannot build from $top (its path holds a semicolon or a backslash): clone the" \
            "repository into a folder whose path has neither." >&2
        exit 2
        ;;
esac
if [ "${1:-}" = --quiet ]; then
    mkdir -p "$top/build"
    log="$top/build/build.log"
    echo "build: setting up what is missing and building (the output goes to $log)" >&2
    if ! "$0" >"$log" 2>&1; then
        cat "$log" >&2
        echo "build: failed (the whole output above is also in $log)" >&2
        exit 1
    fi
    exit 0
fi
"$top/scripts/setup.sh"
cd "$top"
[ -f build/build.ninja ] || cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686

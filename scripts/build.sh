#!/usr/bin/env bash
# Sets up what is missing on this machine, then configures and builds (incrementally).
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
"$top/scripts/setup.sh"
cd "$top"
[ -f build/build.ninja ] || cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686

#!/usr/bin/env bash
# Sets up what is missing on this machine, then configures and builds (incrementally).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
cd "$top"
[ -f build/build.ninja ] || cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686

#!/usr/bin/env bash
# Sets up what is missing (packages, libraries, build), then runs every test under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh"
cd "$top"
ctest --preset mingw-i686 "$@"

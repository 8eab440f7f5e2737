#!/usr/bin/env bash
# Sets up what is missing, builds, and puts the three shipped files into dist/:
#   KestavelShredder-<version>-setup.exe     the French installer (NSIS)
#   KestavelShredder-<version>-portable.zip  the program and its help, in a folder of their own
#   Aide Kestavel Shredder.chm               the French help file
# The build makes them (packaging/CMakeLists.txt); the tests install and run them under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh" --quiet
mkdir -p "$top/dist"
cd "$top/build/package"
cp KestavelShredder-*-setup.exe KestavelShredder-*-portable.zip "Aide Kestavel Shredder.chm" "$top/dist/"
cd "$top/dist"
ls -l KestavelShredder-*-setup.exe KestavelShredder-*-portable.zip "Aide Kestavel Shredder.chm"

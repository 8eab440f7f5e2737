#!/usr/bin/env bash
# Sets up what is missing, builds, and runs Kestavel Shredder under Wine in a sandbox of its own
# (build/sandbox/run: its own prefix and HOME, no drive mapped to the host's root). With a display the
# window opens there; without one it runs under Xvfb and a screenshot shows what it looks like.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh" --quiet
sandbox="$top/build/sandbox/run"
args=("$sandbox" "$top/build/sandbox/template" --install "$top/build/bin/KestavelShredder.exe")
# The help file beside the program, as the installer puts it, so that "Aide" opens it.
help="$top/build/package/Aide Kestavel Shredder.chm"
[ -f "$help" ] && args+=(--install "$help")
export KESTAVEL_KEEP_SANDBOX=1
if [ -n "${DISPLAY:-}" ]; then
    echo "run: starting Kestavel Shredder on display $DISPLAY"
    exec "$top/tests/sandbox/run.sh" "${args[@]}" --display -- KestavelShredder.exe
fi
echo "run: no display: starting Kestavel Shredder under Xvfb (stop it with Ctrl+C)"
export KESTAVEL_RUN_SHOT=run.png
exec "$top/tests/sandbox/run.sh" "${args[@]}" -- KestavelShredder.exe

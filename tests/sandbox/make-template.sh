#!/usr/bin/env bash
# Builds the Wine prefix that every test copies: a throwaway HOME, user folders
# that are real folders (not links to a home), no drive mapped to the host's
# root, and no window-manager stall. Usage: make-template.sh TEMPLATE_DIR
# With KESTAVEL_WINEARCH=win32 the prefix is a 32-bit Windows (no SysWOW64, no "Program Files (x86)").
set -euo pipefail
template=$1
[ -f "$template/.ready" ] && exit 0

rm -rf "$template"
mkdir -p "$template/home"
export HOME="$template/home" WINEPREFIX="$template/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME XDG_RUNTIME_DIR DISPLAY
if [ "${KESTAVEL_WINEARCH:-win64}" = win32 ]; then export WINEARCH=win32; fi
echo "sandbox: creating the template Wine prefix (once${WINEARCH:+, $WINEARCH})"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w

# Only drive C: stays; Z: (the host's root) and device links go.
find "$WINEPREFIX/dosdevices" -mindepth 1 -maxdepth 1 ! -name 'c:' -exec rm -f {} +
# Desktop, Documents, Music... are links to HOME in a fresh prefix: make them real folders.
find "$WINEPREFIX/drive_c/users" -type l | while read -r link; do
    rm -f "$link"
    mkdir -p "$link"
done
"$(dirname "$0")/check-sandbox.sh" "$template"
touch "$template/.ready"

#!/usr/bin/env bash
# Refuses a sandbox whose prefix could reach outside itself: a drive other than
# C: that is not a folder of drive C: itself (run.sh --drive), or a link inside the
# prefix or home that points outside the sandbox.
set -euo pipefail
root=$(cd "$1" && pwd -P)
bad=0
for drive in "$root"/prefix/dosdevices/*; do
    [ "$(basename "$drive")" = "c:" ] && continue
    case "$(readlink -f "$drive")" in
        "$root"/prefix/drive_c/?*) ;;
        *) echo "sandbox: unexpected drive $drive" >&2; bad=1 ;;
    esac
done
while IFS= read -r link; do
    target=$(readlink -f "$link" || true)
    case "$target" in
        "$root"/*) ;;
        *) echo "sandbox: $link points outside the sandbox ($target)" >&2; bad=1 ;;
    esac
done < <(find "$root/prefix" "$root/home" -type l 2>/dev/null)
exit $bad

#!/usr/bin/env bash
# Checks that the source folders keep their layers, from the code's own includes and link lines:
#   win/                                   Win32 wrappers: include nothing of the program
#   shred/ cleaner/ journal/ tools/        engines: no window code; they include win/ and each other
#   controls/                              custom controls and their theme: they include win/ only
#   app/                                   start-up, and one room per window (app/main/, app/cleaner/...)
# An arrow may only point down that list (app/ may use everything; nothing below may use app/), and an
# engine or control library links no control or window library. Prints every offending line.
#   scripts/check-layers.sh [SOURCE_DIR]
set -euo pipefail
top=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$top"

engines=(shred cleaner journal tools)
failures=0

fail() {
    echo "layers: $*" >&2
    failures=$((failures + 1))
}

# The folders a source folder may include from.
allowed_for() {
    case $1 in
        win) echo "win" ;;
        controls) echo "win controls" ;;
        shred | cleaner | journal | tools) echo "win ${engines[*]}" ;;
    esac
}

check_includes() {
    local folder=$1 allowed file line target
    allowed=" $(allowed_for "$folder") "
    while IFS= read -r file; do
        while IFS= read -r line; do
            target=${line#*\"}
            target=${target%%/*}
            case $allowed in
                *" $target "*) ;;
                *) fail "$file includes \"${line#*\"} ($folder/ may include from:$allowed)" ;;
            esac
        done < <(grep -E '^\s*#\s*include\s+"[^"]+/' "$file" || true)
    done < <(find "$folder" -name '*.h' -o -name '*.cpp' -o -name '*.rc' | sort)
}

# The program's libraries named in a folder's CMakeLists.txt link lines.
linked_libraries() {
    tr '\n' ' ' <"$1/CMakeLists.txt" | grep -oE 'target_link_libraries\([^)]*\)' | grep -oE 'kestavel_[a-z]+' | sort -u || true
}

check_links() {
    local folder=$1 library
    for library in $(linked_libraries "$folder"); do
        case "$folder:$library" in
            win:kestavel_win) ;;
            controls:kestavel_controls | controls:kestavel_win) ;;
            shred:kestavel_controls | cleaner:kestavel_controls | journal:kestavel_controls | tools:kestavel_controls)
                fail "$folder/CMakeLists.txt links $library: an engine links no control library" ;;
            *:kestavel_app) fail "$folder/CMakeLists.txt links $library: only the program and its tests link the windows" ;;
            controls:*) fail "$folder/CMakeLists.txt links $library: the controls link win/ only" ;;
            win:*) fail "win/CMakeLists.txt links $library: the wrappers link nothing of the program" ;;
        esac
    done
}

for folder in win controls "${engines[@]}"; do
    check_includes "$folder"
    check_links "$folder"
done

if [ "$failures" -gt 0 ]; then
    echo "layers: $failures arrow(s) against the layers" >&2
    exit 1
fi
echo "layers: win <- engines (${engines[*]}), controls <- app: every include and link points down"

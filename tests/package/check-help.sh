#!/usr/bin/env bash
# Reads the compiled help file with chmls (Free Pascal's CHM tool): a page for each window and command
# group of the program, each reachable from the table of contents; an index in the help's code page whose
# entries all lead to pages of the file; every page, picture and style sheet that a page links to; and the
# pictures at their own size (no size given by a page or the style sheet), none wider than the 640 pixels
# that the viewer's topic pane shows at its default size.
# Usage: check-help.sh "Aide Kestavel Shredder.chm"
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'echo "check-help.sh: failed at line $LINENO" >&2' ERR
# chmls locks the file it reads and gives up when another reader holds it: read a private copy.
chm=$work/help.chm
cp "$1" "$chm"
status=0

pages=(index fenetre-principale ajouter repertoires-systeme explorateur methodes destruction noms journal
    nettoyage-rapide outils a-propos limites installation)
chmls -n list "$chm" 2>/dev/null | sed 's|^/||' >"$work/files"
chmls extracttoc "$chm" "$work/contents" >/dev/null 2>&1
chmls extract "$chm" /Aide.hhk "$work/keywords" >/dev/null 2>&1
targets() { grep -o '"Local" value="[^"]*"' "$1" | sed 's/.*value="//; s/"$//' | sort -u; }

targets "$work/contents" >"$work/contents-targets"
for page in "${pages[@]}"; do
    grep -qx "$page.htm" "$work/files" || { echo "missing page: $page.htm"; status=1; }
    grep -qx "$page.htm" "$work/contents-targets" || { echo "not in the contents: $page.htm"; status=1; }
done

entries=$(grep -c '<LI>' "$work/keywords" || true)
[ "$entries" -ge 50 ] || { echo "index too small: $entries entries"; status=1; }
# Converted to a file first: with pipefail, a grep -q that stops reading early would fail the pipeline.
iconv -f WINDOWS-1252 -t UTF-8 "$work/keywords" >"$work/keywords.utf8"
if ! grep -q -F '"À propos (fenêtre)"' "$work/keywords.utf8"; then
    echo "the index lost the accents of its keywords"
    status=1
fi
for target in $(targets "$work/keywords"); do
    grep -qx "$target" "$work/files" || { echo "an index entry leads nowhere: $target"; status=1; }
done

for page in $(grep '\.htm$' "$work/files"); do
    chmls extract "$chm" "/$page" "$work/page" >/dev/null 2>&1
    for link in $(grep -o -E '(href|src)="[^"#:]+' "$work/page" | sed 's/.*="//'); do
        grep -qx "$link" "$work/files" || { echo "$page links to a missing $link"; status=1; }
    done
    # A tag may run over several lines; the pages are in Windows-1252, read as bytes.
    tr '\n' ' ' <"$work/page" | LC_ALL=C grep -o -i '<img [^>]*>' >"$work/pictures" || true
    if grep -q -i -E '[[:space:]](width|height)=' "$work/pictures"; then
        echo "$page gives a picture a size"
        status=1
    fi
    for picture in $(LC_ALL=C sed -n 's/.*src="\([^"]*\)".*/\1/p' "$work/pictures" | sort -u); do
        chmls extract "$chm" "/$picture" "$work/picture" >/dev/null 2>&1 || continue
        width=$(identify -format '%w' "$work/picture")
        [ "$width" -le 640 ] || { echo "$page shows $picture, $width pixels wide"; status=1; }
    done
done
chmls extract "$chm" /style.css "$work/style.css" >/dev/null 2>&1
if tr '\n' ' ' <"$work/style.css" | grep -o -E '[^{}]*\{[^}]*\}' | grep -i -E '(img|\.capture)[^{]*\{' |
    grep -q -i -E '(width|height|zoom)[[:space:]]*:'; then
    echo "style.css gives the pictures a size"
    status=1
fi
[ $status = 0 ] && echo "help: ${#pages[@]} pages, $entries index entries"
exit $status

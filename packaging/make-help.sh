#!/usr/bin/env bash
# Compiles the French help file: make-help.sh SOURCE_DIR STAGE_DIR OUTPUT_CHM
# The sources are kept in UTF-8 and compiled with chmcmd (Free Pascal's CHM compiler). The HTML Help viewer
# reads the pages, the contents and the index in the code page of the help's language, so they are staged
# in Windows-1252 (which holds every French letter). The project asks for no binary index: chmcmd would
# build it by reading the index as UTF-8, and lose the accents of its keywords.
set -euo pipefail
src=$1
stage=$2
out=$3

rm -rf "$stage"
mkdir -p "$stage/images"
for file in "$src"/*.htm "$src"/*.hhc "$src"/*.hhk "$src"/*.hhp; do
    # iconv fails on a character that Windows-1252 lacks: better a failed build than a garbled page.
    iconv -f UTF-8 -t WINDOWS-1252 "$file" | sed 's/charset=utf-8/charset=windows-1252/' >"$stage/$(basename "$file")"
done
cp "$src"/*.css "$stage/"
cp "$src"/images/*.png "$stage/images/"

compiled="$stage/$(sed -n 's/^Compiled file=//p' "$stage"/*.hhp | tr -d '\r')"
if ! (cd "$stage" && chmcmd --verbosity 1 ./*.hhp >compile.log 2>&1) || [ ! -s "$compiled" ]; then
    cat "$stage/compile.log" >&2
    exit 1
fi
# chmcmd only warns about a page or picture that a page links to and that is not there: a fault of the sources.
if grep -E '^(Warning|Error)' "$stage/compile.log" >&2; then
    exit 1
fi
mv "$compiled" "$out"

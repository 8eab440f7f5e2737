#!/usr/bin/env bash
# Checks the French of what the program shows with Hunspell's French dictionary (Debian's hunspell-fr): the
# wide literals of the windows' sources under app/ and of the presets' and methods' tables, and the text of
# the help pages. Names of the program, of products and of tools that the dictionary does not know are in
# words.txt, beside this script.
# Usage: check-spelling.sh SOURCE_DIR
set -euo pipefail
top=$1
here=$(cd "$(dirname "$0")" && pwd)
command -v hunspell >/dev/null || { echo "hunspell is missing (Debian packages hunspell and hunspell-fr)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed '/^#/d; /^$/d' "$here/words.txt" >"$work/words"

# A literal holding a path, or made of one word shaped like a name in code (a class name, an identifier in
# capitals or in camel case, a file name, a format), is not a text for the user, and is skipped; adjacent
# literals are joined first, as the compiler does.
# The presets' menu and the overwrite methods' names, which the main window shows, are the engine's tables.
{
    find "$top/app" -name '*.cpp' -o -name '*.h' | sort
    echo "$top/shred/Presets.cpp"
    echo "$top/shred/OverwriteMethod.h"
} | while read -r source; do
    perl -0777 -ne '
        while (/((?:L"(?:[^"\\]|\\.)*"\s*)+)/g) {
            my $run = $1;
            my $text = join "", ($run =~ /L"((?:[^"\\]|\\.)*)"/g);
            $text =~ s/\\[nrt]/ /g;
            $text =~ s/\\u[0-9A-Fa-f]{4}/ /g;
            $text =~ s/\\(.)/$1/g;
            next if $text !~ /\p{L}{2}/ || $text =~ /\\/;
            next if $text !~ / / && $text =~ /^(?:[A-Z0-9_]+|\w*[a-z][A-Z]\w*|.*[\\.%:?=@\/*].*)$/;
            print "$text\n";
        }' "$source" >"$work/one"
    sed "s|^|${source#"$top"/}: |" "$work/one"
done >"$work/literals"

# The help: its text without the tags, leaving out code (file names, paths) and italics (placeholders, words
# in other languages), and the journal's own lines that its page quotes as the file holds them.
for page in "$top"/docs/help/*.htm; do
    perl -0777 -pe '
        s{<code>.*?</code>}{ }gs;
        s{<i>.*?</i>}{ }gs;
        s{<td class="msg ligne">.*?</td>}{ }gs;
        s{<[^>]*>}{ }g;
        s{&[a-z]+;}{ }g;
    ' "$page" | sed "s|^|docs/help/${page##*/}: |"
done >"$work/help"

# File names (notes.txt, *.cab) are names, not words.
cat "$work/literals" "$work/help" | perl -pe 's/^([^:]*: )(.*)/$1 . ($2 =~ s{\S+\.[A-Za-z]{2,4}\b}{ }gr)/e' >"$work/texts"
# One Hunspell for every text (it takes a while to load its dictionary), then the lines of each unknown word.
sed 's/^[^:]*: //' "$work/texts" | hunspell -d fr_FR -p "$work/words" -i UTF-8 -l | sort -u >"$work/unknown"
if [ -s "$work/unknown" ]; then
    while IFS= read -r word; do
        echo "unknown word \"$word\":"
        grep -F -e "$word" "$work/texts" | sed 's/^/    /'
    done <"$work/unknown"
    exit 1
fi
echo "spelling: $(wc -l <"$work/literals") texts of the windows, $(ls "$top"/docs/help/*.htm | wc -l) help pages"

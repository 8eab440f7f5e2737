#!/usr/bin/env bash
# Takes the help's pictures again (docs/help/images/*.png): builds what is missing (scripts/build.sh, with
# the installer, whose pages are pictured too), then runs the scenarios that bring the windows into the
# states the pages show, two at a time, each in a Wine sandbox in French for the user "Marie", with the
# Marlett font that draws the windows' caption buttons. Each scenario saves the parts of the screen that
# hold its windows (tests/drive/HelpPictures.h); they replace the committed pictures.
#   scripts/help-pictures.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
images=$top/docs/help/images
pictures=$(grep -oh 'src="images/[^"]*\.png"' "$top"/docs/help/*.htm | sed 's|src="images/||; s|"$||' | sort -u)
# The help file is built with every picture its pages show: a picture new to the pages stands in white
# until its scenario has taken it.
for picture in $pictures; do
    if [ ! -f "$images/$picture" ]; then
        echo "help-pictures: $picture is new"
        convert -size 1x1 xc:white "$images/$picture"
    fi
done
"$top/scripts/build.sh" --quiet

user=Marie
locale=fr_FR.UTF-8
build=$top/build
template=$build/sandbox/template-help
shots=$build/help-pictures
setup=$(ls "$build"/package/KestavelShredder-*-setup.exe)
export KESTAVEL_HELP_PICTURES=1

# Made once, before the sandboxes that copy it are started side by side.
USER=$user LOGNAME=$user LANG=$locale LC_ALL=$locale "$top/tests/sandbox/make-template.sh" "$template"
rm -rf "$shots"
mkdir -p "$shots"

# take SCENARIO [INSTALL]: runs one scenario of kdrive.exe with the program (or the installer) installed.
take() {
    local scenario=$1 install=${2:-$build/bin/KestavelShredder.exe}
    if ! "$top/tests/sandbox/run.sh" "$build/sandbox/help.$scenario" "$template" --user "$user" \
        --locale "$locale" --font /usr/share/wine/fonts/marlett.ttf --install "$install" \
        --install "$build/bin/kdrive.exe" --shots "$shots" -- kdrive.exe "$scenario" \
        >"$shots/$scenario.log" 2>&1; then
        echo "help-pictures: $scenario failed:" >&2
        cat "$shots/$scenario.log" >&2
        return 1
    fi
    echo "help-pictures: $scenario"
}
export -f take
export top build template shots user locale
printf '%s\n' startup-window run-three-files run-pause-resume window-commands tree-right-click \
    scan-presets-menu cleaner-close-during-run journal-window about-window tools-panel |
    xargs -P 2 -I{} bash -c 'take {}'
take package-install "$setup"

# Stored without the PNG's time stamps, so that an unchanged window gives an unchanged file.
status=0
for picture in $pictures; do
    shot=$shots/help-picture-$picture
    if [ -f "$shot" ]; then
        convert "$shot" -strip -define png:exclude-chunks=date,time "$images/$picture"
    else
        echo "help-pictures: no scenario took $picture" >&2
        status=1
    fi
done
for shot in "$shots"/help-picture-*.png; do
    name=$(basename "$shot")
    grep -q "src=\"images/${name#help-picture-}\"" "$top"/docs/help/*.htm ||
        echo "help-pictures: ${name#help-picture-} was taken but no page shows it" >&2
done
[ $status = 0 ] && echo "help-pictures: the pictures in $images are up to date (git status shows which changed)"
exit $status

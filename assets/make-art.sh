#!/usr/bin/env bash
# Draws the interface pictures of Kestavel Shredder into OUT (the build's art folder), each at three screen
# scales: NAME.EXT at 100 %, NAME-150.EXT at 150 % and NAME-200.EXT at 200 %, so that the program only ever
# reduces a picture. Icon files (.ico) hold the sizes the system asks for instead.
#
# The icons are Tango's (Debian's tango-icon-theme, public domain): its hand-drawn 16 and 22 pixel images,
# its scalable drawings rendered by rsvg-convert (librsvg2-bin) for the other sizes. Each icon's edge is
# drawn in Tango's darkest grey with a white pixel round it, so that it stands out on the blue panel as on a
# white page (see outline below). The program's own pictures (its emblem, the header, the cover, the About
# artwork) are drawn here with ImageMagick 6 (/usr/bin/convert) and the DejaVu fonts.
#
# Usage: make-art.sh OUT. Running it again rewrites the same files.
set -euo pipefail

OUT=${1:?usage: make-art.sh OUT}
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$OUT"
cd "$OUT"

IM=${IM:-/usr/bin/convert}
RSVG=${RSVG:-/usr/bin/rsvg-convert}
TANGO=${TANGO:-/usr/share/icons/Tango}
FONTDIR=${FONTDIR:-/usr/share/fonts/truetype/dejavu}
FONT="$FONTDIR/DejaVuSans.ttf"
FONTB="$FONTDIR/DejaVuSans-Bold.ttf"
for f in "$IM" "$RSVG" "$FONT" "$FONTB" "$TANGO/scalable" "$TANGO/16x16" "$TANGO/22x22"; do
    [ -e "$f" ] || { echo "make-art.sh: missing $f (scripts/setup.sh installs it)" >&2; exit 1; }
done

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# Palette of the program's own drawings
BLUE='#445E8A'      # deep blue (68,94,138)
LIGHT='#D6E1FE'     # light blue-grey (214,225,254)
RED='#D6200B'       # red accent (214,32,11)
GOLD='#F6C72A'      # gold (246,199,42)
NAVY='#1C2B47'      # darkest blue, outlines and slots
SHADE='#354B72'     # shaded deep blue
INK='#9DB2DC'       # lines printed on paper
# Tango's own (for the few signs Tango lacks)
CHAMELEOND='#4E9A06'  # Chameleon 3, Tango's dark green
EDGE='#2E3436'       # Aluminium 6, the icons' dark edge

# Common output options: no time stamps, so that files are reproducible.
PNGOPT=(-strip -define png:exclude-chunks=date,time)
JPGOPT=(-strip -quality 88 -sampling-factor 1x1 -interlace none)

# The three scales: file suffix and factor.
SCALES=("" "-150" "-200")
FACTORS=(1 1.5 2)

# times N F: N times F, rounded
times() { awk -v n="$1" -v f="$2" 'BEGIN{printf "%d", n * f + 0.5}'; }

# render OUT SIZE UNITS MVG [OUTLINE_UNITS [CUT_MVG]]
#   Draws MVG (coordinates in a UNITS x UNITS grid) supersampled, then
#   reduces it to SIZE x SIZE with a box filter so that edges stay crisp.
#   OUTLINE_UNITS > 0 puts a navy outline around the whole shape.
#   CUT_MVG, if given, is punched out of the drawing (made transparent).
render() {
    local out=$1 size=$2 units=$3 mvg=$4 ol=${5:-0} cut=${6:-}
    local k=8
    [ "$size" -ge 64 ] && k=4
    local big=$((size * k))
    local s r
    s=$(awk -v b="$big" -v u="$units" 'BEGIN{printf "%.6f", b/u}')
    r=$(awk -v o="$ol" -v s="$s" 'BEGIN{printf "%.2f", o*s}')
    local args=(-size "${big}x${big}" xc:none -draw "scale $s,$s $mvg")
    if [ -n "$cut" ]; then
        args+=( \( -size "${big}x${big}" xc:none -draw "scale $s,$s fill black $cut" \)
                -compose DstOut -composite -compose Over )
    fi
    if [ "$ol" != 0 ]; then
        args+=( \( +clone -alpha extract -morphology Dilate "Disk:$r"
                   -background "$NAVY" -alpha shape \) +swap -composite )
    fi
    "$IM" "${args[@]}" -filter Box -resize "${size}x${size}" "${PNGOPT[@]}" "PNG32:$out"
}

# ico OUT PNG... : packs 32-bit images into a Windows icon
ico() {
    local out=$1; shift
    "$IM" "$@" -strip "ICO:$out"
}

# ---------------------------------------------------------------------------
# Tango icons

# band SIZE: the width of the dark band drawn over an icon's edge
band() { awk -v s="$1" 'BEGIN{r = int(s / 32 + 0.5); if (r < 1) r = 1; print r}'; }

# outline IN OUT SIZE: the rim of every icon, so that it stands out on the blue panel as on a white page. The
# icon keeps its pixels at least half opaque, made opaque (the fainter ones, soft shadows and the outer
# shade of its edges, would grey the rim); its edge (the pixels with a side on the outside, `band` pixels
# deep) is drawn in Tango's darkest grey, with one pixel of white round it. On a dark ground the white shows
# the shape; on a light one the dark band does.
outline() {
    local in=$1 out=$2 size=$3 b
    b=$(band "$size")
    "$IM" "$in" -alpha extract -threshold 50% "$TMP/solid.png"
    "$IM" "$in" "$TMP/solid.png" -alpha off -compose CopyOpacity -composite \
        \( "$TMP/solid.png" \( "$TMP/solid.png" -morphology Erode "Diamond:$b" \) \
        -compose Minus_Src -composite -background "$EDGE" -alpha shape \) -compose Over -composite \
        \( "$TMP/solid.png" -morphology Dilate Diamond:1 -background white -alpha shape \) +swap \
        -compose Over -composite "${PNGOPT[@]}" "PNG32:$out"
}

# plain OUT SIZE NAME: Tango's icon NAME (category/name), SIZE pixels wide and high, without outline. At 14
# pixels it is the hand-drawn 16-pixel image reduced, at 22 the hand-drawn 22-pixel image as it is; other
# sizes render the scalable drawing.
plain() {
    local out=$1 size=$2 name=$3 src
    case $size in
        14) src="$TANGO/16x16/$name.png" ;;
        22) src="$TANGO/22x22/$name.png" ;;
        *)  src="$TMP/svg.png"
            "$RSVG" -w "$size" -h "$size" -f png -o "$src" "$TANGO/scalable/$name.svg" ;;
    esac
    "$IM" "$src" -filter Lanczos -resize "${size}x${size}" "PNG32:$out"
}

# tango OUT SIZE NAME [BADGE]: Tango's icon NAME as a SIZE x SIZE picture with its outline, one pixel smaller
# on each side to leave room for the rim; BADGE, another of Tango's icons, sits on its bottom right corner
# at 5/8 of its size.
tango() {
    local out=$1 size=$2 name=$3 badge=${4:-}
    local inner=$((size - 2))
    plain "$TMP/icon.png" "$inner" "$name"
    if [ -n "$badge" ]; then
        local small=$(((inner * 5 + 4) / 8))
        plain "$TMP/badge.png" "$small" "$badge"
        "$IM" "$TMP/icon.png" "$TMP/badge.png" -gravity SouthEast -compose Over -composite "PNG32:$TMP/icon.png"
    fi
    "$IM" "$TMP/icon.png" -background none -gravity center -extent "${size}x${size}" "PNG32:$TMP/plain.png"
    outline "$TMP/plain.png" "$out" "$size"
}

# tango3 BASE SIZE NAME [BADGE]: the three scales of a Tango icon of SIZE pixels at 100 %, as BASE.png,
# BASE-150.png and BASE-200.png
tango3() {
    local i
    for i in 0 1 2; do
        tango "$1${SCALES[$i]}.png" "$(times "$2" "${FACTORS[$i]}")" "$3" "${4:-}"
    done
}

# tango_ico OUT NAME BADGE SIZE...: a Windows icon of Tango's NAME (with BADGE, if not empty) at every SIZE
tango_ico() {
    local out=$1 name=$2 badge=$3 size images=()
    shift 3
    for size in "$@"; do
        tango "$TMP/ico-$size.png" "$size" "$name" "$badge"
        images+=("$TMP/ico-$size.png")
    done
    ico "$out" "${images[@]}"
}

# The sizes the system asks an icon for: small and large icons at 100 % to 200 %.
ICON_SIZES=(16 20 24 32 40 48 64)

# flat3 BASE SIZE NAME KIND: the three scales of a Tango icon flattened on white, as 24-bit BMP (KIND bmp:
# the menu pictures) or PNG (the About window's)
flat3() {
    local base=$1 size=$2 name=$3 kind=$4 i
    for i in 0 1 2; do
        tango "$TMP/flat.png" "$(times "$size" "${FACTORS[$i]}")" "$name"
        if [ "$kind" = bmp ]; then
            "$IM" "$TMP/flat.png" -background white -alpha remove -alpha off -type TrueColor -strip \
                -define bmp:format=bmp3 "BMP3:$base${SCALES[$i]}.bmp"
        else
            "$IM" "$TMP/flat.png" -background white -alpha remove -alpha off "${PNGOPT[@]}" \
                "PNG24:$base${SCALES[$i]}.png"
        fi
    done
}

# ---------------------------------------------------------------------------
# The emblem: a sheet of paper going into a shredder, strips falling out.

# 64-unit emblem; $1 body colour, $2 body shade, $3 light colour
emblem64() {
    local body=${1:-$BLUE} shade=${2:-$SHADE} led=${3:-$RED}
    cat <<EOF
stroke none
fill white   polygon 18,40 22,40 22,56 18,57.5
fill $LIGHT  polygon 24,40 28,40 28,60 24,61.5
fill white   polygon 30,40 34,40 34,54 30,55.5
fill $LIGHT  polygon 36,40 40,40 40,59 36,60.5
fill white   polygon 42,40 46,40 46,56.5 42,58
fill $body   roundrectangle 4,22 60,46 5,5
fill $shade  roundrectangle 4,37 60,46 5,5
fill $shade  rectangle 4,37 60,41
fill $NAVY   roundrectangle 10,26 54,30 2,2
fill white   path 'M 16,2 L 41,2 L 48,9 L 48,28 L 16,28 Z'
fill $LIGHT  polygon 41,2 41,9 48,9
fill $INK    rectangle 21,9 36,11
fill $INK    rectangle 21,14 43,16
fill $INK    rectangle 21,19 43,21
fill $led    circle 52,33.5 52,35.7
fill $GOLD   roundrectangle 10,32.5 26,34.5 1,1
EOF
}

# 32-unit emblem (for 24 and 32 pixels)
emblem32() {
    local body=${1:-$BLUE} shade=${2:-$SHADE} led=${3:-$RED}
    cat <<EOF
stroke none
fill white   rectangle 9,20 11,29
fill $LIGHT  rectangle 13,20 15,31
fill white   rectangle 17,20 19,28
fill $LIGHT  rectangle 21,20 23,30
fill $body   roundrectangle 2,11 30,23 3,3
fill $shade  roundrectangle 2,18.5 30,23 3,3
fill $shade  rectangle 2,18.5 30,20.5
fill $NAVY   rectangle 5,13 27,15
fill white   path 'M 8,1 L 20,1 L 24,5 L 24,14 L 8,14 Z'
fill $LIGHT  polygon 20,1 20,5 24,5
fill $INK    rectangle 11,6 21,7.5
fill $INK    rectangle 11,9.5 21,11
fill $led    circle 26,17 26,18.4
EOF
}

# 16-pixel emblem, drawn pixel by pixel (no outline added afterwards)
emblem16() {
    local body=${1:-$BLUE} led=${2:-$RED}
    cat <<EOF
stroke none
fill $NAVY   rectangle 4,11 13,16
fill white   rectangle 5,11 6,15
fill $LIGHT  rectangle 7,11 8,16
fill white   rectangle 9,11 10,14
fill $LIGHT  rectangle 11,11 12,15.5
fill $NAVY   roundrectangle 0,5 16,12.5 2,2
fill $body   roundrectangle 1,6 15,11.5 1.5,1.5
fill $NAVY   rectangle 3,7 13,8
fill $NAVY   rectangle 3,0 13,8
fill white   rectangle 4,1 12,8
fill $INK    rectangle 5,2.5 10,3.5
fill $INK    rectangle 5,4.5 11,5.5
fill $led    rectangle 12.5,9 14,10.5
EOF
}

# ---------------------------------------------------------------------------
# Program icons: the emblem at every size the system asks for

emblem_png() { # OUT SIZE
    local out=$1 size=$2
    if [ "$size" -le 16 ]; then render "$out" "$size" 16 "$(emblem16)"
    elif [ "$size" -le 40 ]; then render "$out" "$size" 32 "$(emblem32)" 1.1
    else render "$out" "$size" 64 "$(emblem64)" 1.6
    fi
}
app_images=()
for size in "${ICON_SIZES[@]}" 256; do
    emblem_png "$TMP/app$size.png" "$size"
    app_images+=("$TMP/app$size.png")
done
ico app.ico "${app_images[@]}"
ico tray.ico "${app_images[@]:0:${#ICON_SIZES[@]}}"
for i in 0 1 2; do
    render "logo${SCALES[$i]}.png" "$(times 40 "${FACTORS[$i]}")" 64 "$(emblem64)" 2
done

# ---------------------------------------------------------------------------
# The explorer bar: group pictures (48 x 48) and link pictures (16 x 16)

tango3 group-main 48 apps/preferences-system-windows
tango3 group-shred 48 mimetypes/text-x-generic actions/edit-delete
tango3 group-explorer 48 devices/drive-harddisk
tango3 group-support 48 mimetypes/text-x-generic apps/help-browser

tango3 link-home 16 actions/go-home
tango3 link-cleaner 16 actions/edit-clear
tango3 link-tools 16 categories/preferences-system
tango3 link-quit 16 actions/system-log-out
tango3 link-addfiles 16 actions/document-new
tango3 link-addfolder 16 actions/folder-new
tango3 link-presets 16 places/user-home
tango3 link-help 16 apps/help-browser
tango3 link-about 16 status/dialog-information

# ---------------------------------------------------------------------------
# Run and list buttons

tango_ico btn-destroy.ico actions/edit-delete "" "${ICON_SIZES[@]}"
tango_ico btn-pause.ico actions/media-playback-pause "" "${ICON_SIZES[@]}"
tango_ico btn-resume.ico actions/go-next "" "${ICON_SIZES[@]}"
tango_ico btn-stop.ico actions/process-stop "" "${ICON_SIZES[@]}"
tango_ico btn-remove-sel.ico mimetypes/x-office-document status/dialog-error "${ICON_SIZES[@]}"
tango_ico btn-remove-all.ico places/user-trash actions/process-stop "${ICON_SIZES[@]}"
tango_ico btn-journal.ico apps/accessories-text-editor "" "${ICON_SIZES[@]}"

# ---------------------------------------------------------------------------
# Menu pictures: 16 x 16 at 100 %, 24-bit BMP on white

flat3 menu-recycle 16 places/user-trash bmp
flat3 menu-internet 16 apps/internet-web-browser bmp
flat3 menu-history 16 actions/appointment bmp
flat3 menu-documents 16 mimetypes/x-office-document bmp
flat3 menu-folder 16 places/folder bmp
flat3 menu-cleaner 16 actions/edit-clear bmp
flat3 menu-help 16 apps/help-browser bmp
flat3 menu-quit 16 actions/system-log-out bmp

# ---------------------------------------------------------------------------
# Strip pattern: N strips hanging from the top, pseudo-random but fixed.
# strips X0 X1 STEP WIDTH MINLEN MAXLEN SEED COLOUR -> MVG
strips() {
    awk -v x0="$1" -v x1="$2" -v step="$3" -v w="$4" -v lo="$5" -v hi="$6" \
        -v seed="$7" -v col="$8" 'BEGIN{
        s = seed
        printf "stroke none fill %s\n", col
        for (x = x0; x < x1; x += step) {
            s = (s * 1103515245 + 12345) % 2147483648
            len = lo + (s % 1000) / 1000 * (hi - lo)
            s = (s * 1103515245 + 12345) % 2147483648
            tilt = ((s % 100) / 100 - 0.5) * 4
            printf "polygon %.1f,-1 %.1f,-1 %.1f,%.1f %.1f,%.1f\n", x, x + w, x + w, len + tilt, x, len - tilt
        }
    }'
}

# ---------------------------------------------------------------------------
# The program's own large pictures, drawn at each scale F (coordinates below are those at 100 %)

HDARK='#15223A'
HMID='#243960'
HEDGE='#34507F'

own_pictures() { # SUFFIX F
    local sfx=$1 f=$2
    t() { times "$1" "$f"; }

    # Header banner 834 x 60 and its corner 180 x 60 (they sit side by side)
    "$IM" \( -size "$(t 620)x$(t 60)" -define gradient:direction=east "gradient:$HDARK-$HMID" \) \
          \( -size "$(t 214)x$(t 60)" -define gradient:direction=east "gradient:$HMID-$HEDGE" \) +append +repage \
          \( -size "$(t 834)x$(t 60)" xc:none \
             -draw "scale $f,$f $(strips 548 840 9 5 14 58 7 'rgba(255,255,255,0.10)')" \
             \( -size "$(t 834)x$(t 60)" -define gradient:direction=east gradient:black-white \
                -level 62%,88% -alpha copy \) -compose DstIn -composite -compose Over \) \
          -composite \
          -draw "scale $f,$f fill $GOLD rectangle 0,58 834,60 fill $RED rectangle 0,58 80,60" \
          "${JPGOPT[@]}" "header$sfx.jpg"

    render "$TMP/corner-emblem.png" "$(t 48)" 64 "$(emblem64)" 1.8
    "$IM" \( -size "$(t 180)x$(t 60)" -define gradient:direction=east "gradient:$HEDGE-$BLUE" \) \
          -draw "scale $f,$f $(strips -6 180 9 5 14 58 19 'rgba(255,255,255,0.10)')" \
          "$TMP/corner-emblem.png" -geometry "+$(t 22)+$(t 5)" -composite \
          -fill white -font "$FONTB" -pointsize "$(t 24)" -annotate "+$(t 88)+$(t 39)" '3.20' \
          -draw "scale $f,$f fill $GOLD rectangle 90,44 145,45.5 rectangle 0,58 180,60" \
          "${JPGOPT[@]}" "corner$sfx.jpg"

    # Cover of the task pane while work runs, 260 x 658
    render "$TMP/cover-emblem.png" "$(t 128)" 64 "$(emblem64)" 1.4
    "$IM" \( -size "$(t 260)x$(t 658)" "gradient:$BLUE-$HDARK" \) \
          \( -size "$(t 260)x$(t 658)" xc:none \
             -draw "scale $f,$f $(strips -3 264 9 5 40 150 3 'rgba(255,255,255,0.07)')" \) \
          -composite \
          "$TMP/cover-emblem.png" -geometry "+$(t 66)+$(t 190)" -composite \
          -fill white -font "$FONT" -pointsize "$(t 17)" -gravity North \
          -annotate "+0+$(t 352)" 'Veuillez patienter...' \
          -gravity NorthWest -draw "scale $f,$f fill $GOLD rectangle 110,386 151,389" \
          "${JPGOPT[@]}" "cover$sfx.jpg"

    # Background of the tools panel, 744 x 653: light and quiet
    "$IM" \( -size "$(t 744)x$(t 653)" "gradient:#F5F8FF-$LIGHT" \) \
          \( -size "$(t 744)x$(t 653)" xc:none \
             -draw "scale $f,$f $(strips -2 748 10 6 40 190 11 'rgba(68,94,138,0.045)')" \) \
          -composite \
          -draw "scale $f,$f fill rgba(68,94,138,0.10) rectangle 0,651 744,653" \
          "${JPGOPT[@]}" "tools-bg$sfx.jpg"

    # About window: the artwork 247 x 197
    render "$TMP/about-emblem.png" "$(t 112)" 64 "$(emblem64)" 1.4
    "$IM" \( -size "$(t 247)x$(t 197)" "gradient:$BLUE-$HDARK" \) \
          \( -size "$(t 247)x$(t 197)" xc:none \
             -draw "scale $f,$f $(strips -4 252 9 5 20 120 23 'rgba(255,255,255,0.08)')" \) \
          -composite \
          "$TMP/about-emblem.png" -geometry "+$(t 68)+$(t 14)" -composite \
          -fill white -font "$FONTB" -pointsize "$(t 20)" -gravity North -annotate "+0+$(t 132)" 'Kestavel Shredder' \
          -fill "$GOLD" -font "$FONT" -pointsize "$(t 12)" -annotate "+0+$(t 160)" 'Version 3.20' \
          -gravity NorthWest -draw "scale $f,$f fill $GOLD rectangle 0,195 247,197 fill $RED rectangle 0,195 60,197" \
          "${JPGOPT[@]}" "about-art$sfx.jpg"
}
for i in 0 1 2; do
    own_pictures "${SCALES[$i]}" "${FACTORS[$i]}"
done

# The About window's web and mail icons, 20 x 20 on the panel's white
flat3 about-web 20 apps/internet-web-browser png
flat3 about-mail 20 apps/internet-mail png

# The Windows tools view's icons and tab pictures
. "$HERE/make-tools-art.sh"

# ---------------------------------------------------------------------------
# Fast Cleaner: tab icons, item states, M.R.U. rows and the busy animation (16 x 16)

tango3 cleaner-tab-general 16 actions/edit-clear
tango3 cleaner-tab-settings 16 categories/preferences-desktop
tango3 cleaner-tab-dns 16 apps/internet-web-browser
tango3 cleaner-tab-mru 16 mimetypes/x-office-document
tango3 cleaner-waiting 16 actions/appointment
tango3 cleaner-mru-key 16 places/folder
tango3 cleaner-mru-value 16 mimetypes/text-x-generic

# Done: Tango has no tick, so a white tick on Tango's dark green, with the same outline.
for i in 0 1 2; do
    size=$(times 16 "${FACTORS[$i]}")
    render "$TMP/done.png" $((size - 2)) 16 "stroke none fill $CHAMELEOND circle 8,8 8,15.5
stroke white stroke-width 2.4 stroke-linecap round stroke-linejoin round fill none
path 'M 4.4,8.2 L 7,10.9 L 11.8,5.3'"
    "$IM" "$TMP/done.png" -background none -gravity center -extent "${size}x${size}" "PNG32:$TMP/plain.png"
    outline "$TMP/plain.png" "cleaner-done${SCALES[$i]}.png" "$size"
done

# Busy: eight of the frames of Tango's "process-working" (its first frame is empty), side by side: a ring of
# faint dots with dark ones going round, which need no outline.
for i in 0 1 2; do
    size=$(times 16 "${FACTORS[$i]}")
    case $size in 16) cell=16 dir=16x16 ;; 24) cell=22 dir=22x22 ;; *) cell=32 dir=32x32 ;; esac
    frames=()
    for k in 0 1 2 3 4 5 6 7; do
        n=$((1 + k * 4))
        "$IM" "$TANGO/$dir/animations/process-working.png" \
            -crop "${cell}x${cell}+$(((n % 8) * cell))+$(((n / 8) * cell))" \
            +repage -background none -gravity center -extent "${size}x${size}" "PNG32:$TMP/busy$k.png"
        frames+=("$TMP/busy$k.png")
    done
    "$IM" "${frames[@]}" +append "${PNGOPT[@]}" "PNG32:cleaner-busy${SCALES[$i]}.png"
done

echo "pictures written to $OUT"

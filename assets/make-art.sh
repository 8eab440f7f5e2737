#!/usr/bin/env bash
# Draws the interface pictures of Kestavel Shredder into this folder.
# Needs Debian's ImageMagick 6 (/usr/bin/convert) and the DejaVu fonts.
# Running it again rewrites the same files.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$HERE"

IM=${IM:-/usr/bin/convert}
FONTDIR=/usr/share/fonts/truetype/dejavu
FONT="$FONTDIR/DejaVuSans.ttf"
FONTB="$FONTDIR/DejaVuSans-Bold.ttf"
for f in "$IM" "$FONT" "$FONTB"; do
    [ -e "$f" ] || { echo "missing: $f" >&2; exit 1; }
done

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# Palette
BLUE='#445E8A'      # deep blue (68,94,138)
LIGHT='#D6E1FE'     # light blue-grey (214,225,254)
RED='#D6200B'       # red accent (214,32,11)
GOLD='#F6C72A'      # gold (246,199,42)
NAVY='#1C2B47'      # darkest blue, outlines and slots
SHADE='#354B72'     # shaded deep blue
INK='#9DB2DC'       # lines printed on paper
GOLDD='#B8860B'     # gold outline
GOLDS='#E0A914'     # back of folders
GREEN='#2F9A47'
GREEND='#1F7434'
ORANGE='#EE8A12'
ORANGED='#B9650A'
REDD='#9E1808'

# Common output options: no time stamps, so that files are reproducible.
PNGOPT=(-strip -define png:exclude-chunks=date,time)
JPGOPT=(-strip -quality 88 -sampling-factor 1x1 -interlace none)

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

# bmp16 OUT PNG : flattens a 16x16 picture on white into a 24-bit BMP
bmp16() {
    "$IM" "$2" -background white -alpha remove -alpha off -type TrueColor \
        -strip -define bmp:format=bmp3 "BMP3:$1"
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
# Program icons

render "$TMP/app16.png"  16  16 "$(emblem16)"
render "$TMP/app24.png"  24  32 "$(emblem32)" 1.2
render "$TMP/app32.png"  32  32 "$(emblem32)" 1
render "$TMP/app48.png"  48  64 "$(emblem64)" 1.8
render "$TMP/app256.png" 256 64 "$(emblem64)" 1.2
ico app.ico "$TMP/app16.png" "$TMP/app24.png" "$TMP/app32.png" "$TMP/app48.png" "$TMP/app256.png"
ico tray.ico "$TMP/app16.png" "$TMP/app32.png"
render logo.png 40 64 "$(emblem64)" 2

# ---------------------------------------------------------------------------
# Group header icons, 48x48: a deep blue disc with a white sign.

DISC="stroke none fill $NAVY circle 24,24 24,47 fill $BLUE circle 24,24 24,45.5"

render group-main.png 48 48 "$DISC
fill white  polygon 24,10 38,23 34,23 34,36 14,36 14,23 10,23
fill $GOLD  rectangle 21,27 27,36
fill $RED   rectangle 30,12 33,18
fill $BLUE  rectangle 17,26 20,29"

render group-shred.png 48 48 "$DISC
push graphic-context
translate 9,8.5 scale 0.47,0.47
$(emblem64 "$LIGHT" '#AFC1EA' "$RED")
pop graphic-context"

folder48() { # x y w h : a flat folder with its tab
    awk -v x="$1" -v y="$2" -v w="$3" -v h="$4" -v back="$GOLDS" -v front="$GOLD" 'BEGIN{
        printf "fill %s path '"'"'M %g,%g L %g,%g L %g,%g L %g,%g L %g,%g L %g,%g Z'"'"'\n", back,
            x, y, x+w*0.4, y, x+w*0.4+1.5, y+1.5, x+w, y+1.5, x+w, y+h, x, y+h
        printf "fill %s rectangle %g,%g %g,%g\n", front, x, y+3, x+w, y+h
    }'
}
render group-explorer.png 48 48 "$DISC
stroke none fill white
rectangle 15,19 17.5,37
rectangle 15,25.5 22,28
rectangle 15,34.5 22,37
$(folder48 11 10 15 10)
$(folder48 21 22 15 8)
$(folder48 21 31.5 15 8)"

render group-support.png 48 48 "$DISC
stroke none fill white
font '$FONTB' font-size 30 text-anchor middle
text 24,35 '?'"

# ---------------------------------------------------------------------------
# Link icons, 16x16

FOLDER16="stroke $GOLDD stroke-width 1
fill $GOLDS path 'M 1.5,2.5 L 6,2.5 L 7.5,4 L 14.5,4 L 14.5,13.5 L 1.5,13.5 Z'
fill $GOLD  path 'M 1.5,5.5 L 14.5,5.5 L 14.5,13.5 L 1.5,13.5 Z'
stroke none"

PLUSBADGE="stroke none fill white circle 12,12 12,16.5
fill $GREEN circle 12,12 12,15.6
fill white rectangle 9.5,11.25 14.5,12.75 rectangle 11.25,9.5 12.75,14.5"

render link-home.png 16 16 "stroke none
fill $BLUE  rectangle 3,7 13,15
fill $RED   polygon 8,0.8 16,8.3 14.2,8.3 8,2.7 1.8,8.3 0,8.3
fill $GOLD  rectangle 6.5,10 9.5,15
fill $LIGHT rectangle 10,9 12,11"

render link-cleaner.png 16 16 "stroke $BLUE stroke-width 2 stroke-linecap round
line 14.2,1.8 8.2,7.8
stroke none
fill $GOLD   polygon 7,6 10,9 8,14.5 6.5,15.5 0.5,9.5 1.5,8
fill $RED    polygon 6.3,5.3 10.7,9.7 9.3,11.1 4.9,6.7
stroke $GOLDD stroke-width 0.8
line 6,10.5 3,7.5
line 7.5,12 4.3,8.8"

render link-tools.png 16 16 "stroke $BLUE stroke-width 3.2 stroke-linecap round
line 3,13 9.5,6.5
stroke none fill $BLUE circle 10.8,5.2 10.8,9.9
fill $GOLD circle 3,13 3,13.9" 0 "push graphic-context translate 10.8,5.2 rotate 45 rectangle -1.6,-6 1.6,0.3 pop graphic-context"

render link-quit.png 16 16 "stroke none
fill $BLUE  rectangle 1.5,1 10,15
fill $LIGHT rectangle 3,2.5 8.5,15
fill $SHADE polygon 3,2.5 8.5,4 8.5,15 3,15
fill $GOLD  circle 7.3,9 7.3,9.9
fill $RED   rectangle 8.5,7 12,9
fill $RED   polygon 11.5,4 15.5,8 11.5,12"

render link-addfiles.png 16 16 "stroke $BLUE stroke-width 1
fill white path 'M 2.5,0.5 L 9,0.5 L 12.5,4 L 12.5,15.5 L 2.5,15.5 Z'
fill $LIGHT polygon 9,0.5 9,4 12.5,4
stroke none fill $INK
rectangle 4,6 11,7 rectangle 4,8.5 10,9.5 rectangle 4,11 8,12
$PLUSBADGE"

render link-addfolder.png 16 16 "$FOLDER16
$PLUSBADGE"

render link-presets.png 16 16 "$FOLDER16
stroke white stroke-width 1.2 stroke-linejoin round
fill $RED polygon 12,6.6 13.4,9.9 16,10.1 14,12.1 14.6,15.4 12,13.7 9.4,15.4 10,12.1 8,10.1 10.6,9.9"

HELP16="stroke none fill $BLUE circle 8,8 8,15.5
fill white font '$FONTB' font-size 12.5 text-anchor middle text 8,12.6 '?'"
render link-help.png 16 16 "$HELP16"

render link-about.png 16 16 "stroke none fill $BLUE circle 8,8 8,15.5
fill white circle 8,4.4 8,5.8
fill white rectangle 6.4,6.8 9.4,12.2
fill white rectangle 6.4,7 6.9,7.8
fill white rectangle 5.8,11.5 10.2,12.8"

# ---------------------------------------------------------------------------
# Run and list button icons (24 and 32 pixels, 32-bit)

btn() { # name outline mvg [cut]
    local name=$1 ol=$2 mvg=$3 cut=${4:-}
    render "$TMP/$name-24.png" 24 32 "$mvg" "$ol" "$cut"
    render "$TMP/$name-32.png" 32 32 "$mvg" "$ol" "$cut"
    ico "$name.ico" "$TMP/$name-24.png" "$TMP/$name-32.png"
}

btn btn-destroy 1.1 "$(emblem32 "$RED" "$REDD" "$GOLD")"

btn btn-pause 0 "stroke none
fill $ORANGED roundrectangle 7,5 14,27 2,2 roundrectangle 18,5 25,27 2,2
fill $ORANGE  roundrectangle 8,6 13,26 1.5,1.5 roundrectangle 19,6 24,26 1.5,1.5"

btn btn-resume 0 "stroke $GREEND stroke-width 5 stroke-linejoin round fill $GREEND
polygon 9,5.5 26,16 9,26.5
stroke $GREEN stroke-width 3 fill $GREEN
polygon 9,5.5 26,16 9,26.5"

btn btn-stop 0 "stroke none
fill $REDD roundrectangle 5,5 27,27 4,4
fill $RED  roundrectangle 6.2,6.2 25.8,25.8 3,3"

LIST32="stroke none
fill $NAVY  roundrectangle 2,3 26,26 2,2
fill white  rectangle 3.5,4.5 24.5,24.5
fill $LIGHT rectangle 3.5,4.5 24.5,10
fill $BLUE  rectangle 6,6.5 21,8
fill $INK   rectangle 6,13 21,14.5 rectangle 6,19 18,20.5"

BADGE32() { # colour
    echo "stroke none fill white circle 23,23 23,32.5 fill $1 circle 23,23 23,31"
}

btn btn-remove-sel 0 "$LIST32
$(BADGE32 "$RED")
fill white rectangle 18,21.5 28,24.5"

btn btn-remove-all 0 "stroke none
fill $NAVY  roundrectangle 4,5 22,8 1,1
fill $NAVY  rectangle 10,2.5 16,5
fill $NAVY  polygon 5.5,8 20.5,8 19,29 7,29
fill $LIGHT polygon 7.2,9.5 18.8,9.5 17.6,27.5 8.4,27.5
fill $BLUE  rectangle 9.7,12 11.2,25 rectangle 14.8,12 16.3,25
$(BADGE32 "$RED")
stroke white stroke-width 2.6 stroke-linecap round
line 19.6,19.6 26.4,26.4 line 26.4,19.6 19.6,26.4"

btn btn-journal 0 "stroke none
fill $NAVY  roundrectangle 6,2 28,30 2.5,2.5
fill $BLUE  roundrectangle 7.2,3.2 26.8,28.8 1.5,1.5
fill $SHADE rectangle 7.2,3.2 11,28.8
fill white  rectangle 14,7 24,13
fill $INK   rectangle 15.5,9 22.5,10.5
fill $GOLD  rectangle 24,3.2 26.8,28.8
fill $LIGHT rectangle 4,6 10,8.4 rectangle 4,12 10,14.4 rectangle 4,18 10,20.4 rectangle 4,24 10,26.4"

# ---------------------------------------------------------------------------
# Menu pictures: 16x16, 24-bit BMP on white

render "$TMP/m-recycle.png" 16 16 "stroke none
fill $BLUE  rectangle 2,2.5 14,4.5
fill $BLUE  rectangle 6,1 10,2.5
fill $BLUE  polygon 3,5 13,5 12,15.5 4,15.5
fill $LIGHT polygon 4.3,6.3 11.7,6.3 11,14.3 5,14.3
fill $GREEN polygon 8,7.2 10.2,10.2 8.9,10.2 8.9,12.8 7.1,12.8 7.1,10.2 5.8,10.2"
bmp16 menu-recycle.bmp "$TMP/m-recycle.png"

render "$TMP/m-internet.png" 16 16 "stroke none fill $BLUE circle 8,8 8,15.5
fill '#5D86C9' circle 8,8 8,14.3
stroke white stroke-width 1 fill none
ellipse 8,8 3,6.8 0,360
line 1.5,8 14.5,8
line 2.5,4.8 13.5,4.8
line 2.5,11.2 13.5,11.2
line 8,1.2 8,14.8
stroke none fill $GOLD circle 12.2,3.8 12.2,5"
bmp16 menu-internet.bmp "$TMP/m-internet.png"

render "$TMP/m-history.png" 16 16 "stroke none fill $BLUE circle 8,8.5 8,16
fill white circle 8,8.5 8,14.8
fill $BLUE circle 8,3.2 8,3.9 circle 8,13.8 8,14.5 circle 2.7,8.5 3.4,8.5 circle 13.3,8.5 14,8.5
stroke $NAVY stroke-width 1.4 stroke-linecap round
line 8,8.5 8,4.8
line 8,8.5 11,10.2
stroke none fill $RED circle 8,8.5 8,9.6"
bmp16 menu-history.bmp "$TMP/m-history.png"

render "$TMP/m-documents.png" 16 16 "stroke $BLUE stroke-width 1
fill $LIGHT rectangle 5.5,0.5 14.5,12.5
fill white path 'M 1.5,3.5 L 7,3.5 L 10.5,7 L 10.5,15.5 L 1.5,15.5 Z'
fill $LIGHT polygon 7,3.5 7,7 10.5,7
stroke none fill $INK
rectangle 3,9 9,10 rectangle 3,11.5 9,12.5 rectangle 12,3 13,3 rectangle 11,3 13,4 rectangle 11,5.5 13,6.5 rectangle 11.5,8 13,9"
bmp16 menu-documents.bmp "$TMP/m-documents.png"

render "$TMP/m-folder.png" 16 16 "$FOLDER16"
bmp16 menu-folder.bmp "$TMP/m-folder.png"

bmp16 menu-cleaner.bmp link-cleaner.png
bmp16 menu-help.bmp link-help.png
bmp16 menu-quit.bmp link-quit.png

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
# Header banner 834x60 and its corner 180x60 (they sit side by side)

HDARK='#15223A'
HMID='#243960'
HEDGE='#34507F'

"$IM" \( -size 620x60 -define gradient:direction=east "gradient:$HDARK-$HMID" \) \
      \( -size 214x60 -define gradient:direction=east "gradient:$HMID-$HEDGE" \) +append +repage \
      \( -size 834x60 xc:none -draw "$(strips 548 840 9 5 14 58 7 'rgba(255,255,255,0.10)')" \
         \( -size 834x60 -define gradient:direction=east gradient:black-white \
            -level 62%,88% -alpha copy \) -compose DstIn -composite -compose Over \) \
      -composite \
      -fill "$GOLD" -draw "rectangle 0,58 834,59" \
      -fill "$RED" -draw "rectangle 0,58 79,59" \
      "${JPGOPT[@]}" header.jpg

render "$TMP/corner-emblem.png" 48 64 "$(emblem64)" 1.8
"$IM" \( -size 180x60 -define gradient:direction=east "gradient:$HEDGE-$BLUE" \) \
      -draw "$(strips -6 180 9 5 14 58 19 'rgba(255,255,255,0.10)')" \
      "$TMP/corner-emblem.png" -geometry +22+5 -composite \
      -fill white -font "$FONTB" -pointsize 24 -annotate +88+39 '3.20' \
      -fill "$GOLD" -draw "rectangle 90,44 144,45.5" \
      -fill "$GOLD" -draw "rectangle 0,58 180,59" \
      "${JPGOPT[@]}" corner.jpg

# ---------------------------------------------------------------------------
# Cover of the task pane while work runs, 260x658

render "$TMP/cover-emblem.png" 128 64 "$(emblem64)" 1.4
"$IM" \( -size 260x658 "gradient:$BLUE-$HDARK" \) \
      \( -size 260x658 xc:none -draw "$(strips -3 264 9 5 40 150 3 'rgba(255,255,255,0.07)')" \) \
      -composite \
      "$TMP/cover-emblem.png" -geometry +66+190 -composite \
      -fill white -font "$FONT" -pointsize 17 -gravity North -annotate +0+352 'Veuillez patienter...' \
      -gravity NorthWest -fill "$GOLD" -draw "rectangle 110,386 150,388" \
      "${JPGOPT[@]}" cover.jpg

# ---------------------------------------------------------------------------
# Background of the tools panel, 744x653: light and quiet

"$IM" \( -size 744x653 "gradient:#F5F8FF-$LIGHT" \) \
      \( -size 744x653 xc:none -draw "$(strips -2 748 10 6 40 190 11 'rgba(68,94,138,0.045)')" \) \
      -composite \
      -fill "rgba(68,94,138,0.10)" -draw "rectangle 0,651 744,652" \
      "${JPGOPT[@]}" tools-bg.jpg

# ---------------------------------------------------------------------------
# About window: the artwork 247x197, and the web and mail icons 20x20 flattened on the panel's white

render "$TMP/about-emblem.png" 112 64 "$(emblem64)" 1.4
"$IM" \( -size 247x197 "gradient:$BLUE-$HDARK" \) \
      \( -size 247x197 xc:none -draw "$(strips -4 252 9 5 20 120 23 'rgba(255,255,255,0.08)')" \) \
      -composite \
      "$TMP/about-emblem.png" -geometry +68+14 -composite \
      -fill white -font "$FONTB" -pointsize 20 -gravity North -annotate +0+132 'Kestavel Shredder' \
      -fill "$GOLD" -font "$FONT" -pointsize 12 -annotate +0+160 'Version 3.20' \
      -gravity NorthWest -fill "$GOLD" -draw "rectangle 0,195 247,196" \
      -fill "$RED" -draw "rectangle 0,195 59,196" \
      "${JPGOPT[@]}" about-art.jpg

render "$TMP/about-web.png" 20 20 "stroke none fill $BLUE circle 10,10 10,19.2
stroke $LIGHT stroke-width 1.1 fill none
ellipse 10,10 4,9.2 0,360
line 1,10 19,10
line 2.6,5.6 17.4,5.6
line 2.6,14.4 17.4,14.4
line 10,0.8 10,19.2"
"$IM" "$TMP/about-web.png" -background white -alpha remove -alpha off "${PNGOPT[@]}" PNG24:about-web.png

render "$TMP/about-mail.png" 20 20 "stroke $BLUE stroke-width 1.2
fill white rectangle 1.5,4.5 18.5,15.5
fill $LIGHT polygon 1.5,4.5 10,11 18.5,4.5
stroke $BLUE fill none polyline 1.5,15.5 7.6,9.2
polyline 18.5,15.5 12.4,9.2
stroke none fill $RED circle 16,4.5 16,7.2"
"$IM" "$TMP/about-mail.png" -background white -alpha remove -alpha off "${PNGOPT[@]}" PNG24:about-mail.png
# The Windows tools view's icons and tab pictures
. "$HERE/make-tools-art.sh"
# Fast Cleaner: tab icons, item states, M.R.U. rows and the busy animation (16x16)

render cleaner-tab-general.png 16 16 "stroke $BLUE stroke-width 1
fill white rectangle 1.5,1.5 14.5,14.5
stroke none
fill $GREEN rectangle 3.5,3.5 6.5,6.5 rectangle 3.5,9.5 6.5,12.5
fill $INK rectangle 8,4.5 13,5.5 rectangle 8,10.5 13,11.5
stroke white stroke-width 1 stroke-linecap round fill none
path 'M 4,5 L 5,6 L 6.5,3.8' path 'M 4,11 L 5,12 L 6.5,9.8'"

render cleaner-tab-settings.png 16 16 "stroke none
fill $BLUE circle 8,8 8,14.6
fill $LIGHT circle 8,8 8,10.3
$(awk -v col="$BLUE" 'BEGIN{for (a = 0; a < 360; a += 45)
  printf "push graphic-context translate 8,8 rotate %d fill %s rectangle -1.6,-7.8 1.6,-5 pop graphic-context\n", a, col}')
fill $GOLD circle 8,8 8,9.2"

render cleaner-tab-dns.png 16 16 "stroke none fill $BLUE circle 8,8 8,15.5
fill '#5D86C9' circle 8,8 8,14.3
stroke white stroke-width 1 fill none
ellipse 8,8 3,6.8 0,360
line 1.5,8 14.5,8
line 8,1.2 8,14.8
stroke none fill $RED rectangle 10,10 16,16
fill white rectangle 11.5,12.4 14.5,13.6"

render cleaner-tab-mru.png 16 16 "stroke $NAVY stroke-width 0.8
fill $GOLD rectangle 1.5,1.5 7.5,7.5
fill '#5D86C9' rectangle 8.5,1.5 14.5,7.5
fill $GREEN rectangle 1.5,8.5 7.5,14.5
fill $RED rectangle 8.5,8.5 14.5,14.5"

# Item state: waiting (a grey-blue clock) and done (a green disc with a white tick)
render cleaner-waiting.png 16 16 "stroke none fill '#7E8CA6' circle 8,8 8,15.2
fill '#E3E8F2' circle 8,8 8,13.8
stroke '#56657F' stroke-width 1.3 stroke-linecap round
line 8,8 8,4.2 line 8,8 10.8,9.6"

render cleaner-done.png 16 16 "stroke none fill $GREEND circle 8,8 8,15.2
fill $GREEN circle 8,8 8,14
stroke white stroke-width 2 stroke-linecap round stroke-linejoin round fill none
path 'M 4.6,8.3 L 7,10.8 L 11.6,5.4'"

# M.R.U. rows: a registry key (gold) and a value (a small blue tile with text)
render cleaner-mru-key.png 16 16 "stroke none
fill $GOLDD circle 4.8,8 4.8,13.2
fill $GOLD circle 4.8,8 4.8,12
fill white circle 4.8,8 4.8,9.6
fill $GOLDD rectangle 8,6.8 15.5,9.8 rectangle 11.5,9.8 13,12 rectangle 14,9.8 15.5,12.8
fill $GOLD rectangle 8.6,7.5 15,9"

render cleaner-mru-value.png 16 16 "stroke $BLUE stroke-width 1
fill white rectangle 1.5,2.5 14.5,13.5
stroke none fill $RED rectangle 3,5 7,11
fill $INK rectangle 8.5,5 13,6 rectangle 8.5,7.5 13,8.5 rectangle 8.5,10 12,11"

# Busy animation: eight frames side by side, a ring of eight dots with a bright head going round
for f in 0 1 2 3 4 5 6 7; do
    render "$TMP/busy$f.png" 16 16 "stroke none
$(awk -v f="$f" -v b="$BLUE" 'BEGIN{
    for (i = 0; i < 8; i++) {
        k = (i - f + 8) % 8; a = i * 3.14159265 / 4 - 3.14159265 / 2
        x = 8 + 5.6 * cos(a); y = 8 + 5.6 * sin(a); r = (k == 0) ? 2.1 : (k == 7 ? 1.8 : 1.5)
        alpha = (k == 0) ? 1 : (k == 7 ? 0.75 : (k == 6 ? 0.5 : 0.28))
        printf "fill rgba(68,94,138,%.2f) circle %.2f,%.2f %.2f,%.2f\n", alpha, x, y, x + r, y
    }}')"
done
"$IM" "$TMP"/busy{0,1,2,3,4,5,6,7}.png +append "${PNGOPT[@]}" PNG32:cleaner-busy.png

echo "pictures written to $HERE"

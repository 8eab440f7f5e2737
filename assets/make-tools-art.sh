# Pictures of the Windows tools view, drawn by make-art.sh (which sources this file and provides render,
# the palette and TMP): tools-items.png, the 24 item icons of 16 x 16 side by side (items 1 to 23, then the
# one shared by every "Aide et maintenance" item), and tools-tabs.png, the three tab pictures.

WIN16="stroke $BLUE stroke-width 1 fill white rectangle 1.5,2.5 14.5,13.5
stroke none fill $BLUE rectangle 1.5,2.5 14.5,5"

tool_icons=(
# 1 task manager: a screen with a pulse line
"stroke none fill $NAVY roundrectangle 1,1.5 15,12.5 1.5,1.5 fill $NAVY rectangle 5,12 11,15
fill '#12351E' rectangle 2.5,3 13.5,11
stroke '#5FE07A' stroke-width 1.2 fill none polyline 3,8 5.5,8 7,4.5 8.5,10 10,7 13,7"
# 2 performance: bars
"stroke none fill $NAVY rectangle 1,14 15,15.2
fill $BLUE rectangle 2,8 5,14 fill $GREEN rectangle 6.5,4 9.5,14 fill $ORANGE rectangle 11,1.5 14,14"
# 3 resources: a gauge
"stroke none fill $NAVY circle 8,9 8,1.5 fill white circle 8,9 8,2.8
fill $GREEN polygon 8,9 2.5,9 3.5,5.5 fill $ORANGE polygon 8,9 5,3.6 11,3.6 fill $RED polygon 8,9 12.5,5.5 13.5,9
fill white circle 8,9 8,6 stroke $NAVY stroke-width 1.3 line 8,9 11.5,5 stroke none fill $NAVY circle 8,9 8,10.2"
# 4 control panel: a window with sliders
"$WIN16
stroke $NAVY stroke-width 1 line 4,7 4,12 line 8,7 8,12 line 12,7 12,12
stroke none fill $RED rectangle 3,8 5,9.5 fill $GOLD rectangle 7,10 9,11.5 fill $GREEN rectangle 11,7.5 13,9"
# 5 defragmenter: blocks in order
"stroke none fill $NAVY rectangle 1,1 15,15
fill $BLUE rectangle 2,2 5,5 rectangle 5.5,2 8.5,5 rectangle 9,2 12,5 rectangle 2,5.5 5,8.5
fill $GOLD rectangle 5.5,5.5 8.5,8.5 rectangle 9,9 12,12 fill $RED rectangle 12.5,5.5 14,8.5 rectangle 2,12.5 5,14
fill $LIGHT rectangle 9,5.5 12,8.5 rectangle 2,9 5,12 rectangle 5.5,9 8.5,12"
# 6 disk cleaner: a disk and a green tick
"stroke none fill $NAVY roundrectangle 1,5 15,13 2,2 fill $LIGHT roundrectangle 2,6 14,12 1.5,1.5
fill $GREEN circle 12,9 12,10.3
stroke $GREEN stroke-width 2 stroke-linecap round line 3,3 6,6 line 6,6 12.5,1"
# 7 run: a window and an arrow
"$WIN16
stroke none fill $GREEN polygon 4,8 9,8 9,6 13,9.5 9,13 9,11 4,11"
# 8 malicious software removal: a shield
"stroke $NAVY stroke-width 1 fill $BLUE path 'M 8,0.8 L 14.5,3 L 14,9 Q 12.5,13.5 8,15.2 Q 3.5,13.5 2,9 L 1.5,3 Z'
stroke none fill white polygon 8,2.5 8,13.3 4,10.5 3.3,4.2 fill $RED rectangle 6,6.5 10,8.5 rectangle 7,5.5 9,9.5"
# 9 self-extracting archives: a box
"stroke $GOLDD stroke-width 1 fill $GOLD polygon 1.5,5 8,2 14.5,5 14.5,13 8,15.5 1.5,13
stroke none fill $GOLDS polygon 8,8 14.5,5 14.5,13 8,15.5 fill $BLUE rectangle 7,2.5 9,15"
# 10 minimise all: a window going down
"$WIN16
stroke none fill $NAVY rectangle 4,10.5 12,12"
# 11 show all: two windows
"stroke $BLUE stroke-width 1 fill white rectangle 4.5,0.5 15.5,9.5 rectangle 0.5,5.5 11.5,15.5
stroke none fill $BLUE rectangle 4.5,0.5 15.5,2.5 rectangle 0.5,5.5 11.5,7.5"
# 12 lock: a padlock
"stroke $NAVY stroke-width 2 fill none roundrectangle 4.5,1.5 11.5,10 3,3
stroke none fill $GOLD rectangle 2.5,7 13.5,15 fill $GOLDD rectangle 7,9.5 9,12.5"
# 13 taskbar properties: a bar and a setting
"stroke none fill $LIGHT rectangle 0.5,1 15.5,10 fill $BLUE rectangle 0.5,10.5 15.5,15
fill $GREEN rectangle 1.5,11.5 4,14 fill white rectangle 5,12 9,13.5 fill $GOLD circle 11,5.5 11,8.5 fill $LIGHT circle 11,5.5 11,6.7"
# 14 start menu: four panes
"stroke none fill $RED rectangle 1,1 7.5,7.5 fill $GREEN rectangle 8.5,1 15,7.5
fill $BLUE rectangle 1,8.5 7.5,15 fill $GOLD rectangle 8.5,8.5 15,15"
# 15 clock
"stroke none fill $BLUE circle 8,8 8,15.5 fill white circle 8,8 8,14.2
stroke $NAVY stroke-width 1.4 stroke-linecap round line 8,8 8,3.8 line 8,8 11.2,9.8
stroke none fill $RED circle 8,8 8,9.1"
# 16 internet options: a globe
"stroke none fill $BLUE circle 8,8 8,15.5 fill '#5D86C9' circle 8,8 8,14.3
stroke white stroke-width 1 fill none ellipse 8,8 3,6.8 0,360 line 1.5,8 14.5,8 line 8,1.2 8,14.8"
# 17 shut down: the power sign
"stroke none fill $RED circle 8,8 8,15.5
stroke white stroke-width 1.6 stroke-linecap round fill none arc 3.5,3.8 12.5,12.8 -60,240 line 8,2.8 8,8"
# 18 console
"stroke none fill $NAVY rectangle 0.5,1.5 15.5,14.5 fill '#111111' rectangle 1.5,4 14.5,13.5 fill $LIGHT rectangle 0.5,1.5 15.5,3.5
stroke white stroke-width 1.2 fill none polyline 3,6 6,8.5 3,11 line 7.5,11.5 12,11.5"
# 19 services: a gear
"stroke none fill $BLUE circle 8,8 8,14 fill $BLUE rectangle 6.8,0.5 9.2,15.5 rectangle 0.5,6.8 15.5,9.2
push graphic-context translate 8,8 rotate 45 rectangle -1.2,-7.5 1.2,7.5 rectangle -7.5,-1.2 7.5,1.2 pop graphic-context
fill white circle 8,8 8,10.3"
# 20 system configuration: a checklist
"stroke $BLUE stroke-width 1 fill white rectangle 2.5,0.5 13.5,15.5
stroke $GREEN stroke-width 1.4 fill none polyline 4,4 5.5,5.5 8,2.5 polyline 4,9 5.5,10.5 8,7.5
stroke none fill $INK rectangle 9,3.5 12,4.5 rectangle 9,8.5 12,9.5 rectangle 4.5,12.5 12,13.5"
# 21 disk management: a pie
"stroke none fill $BLUE circle 8,8 8,15.5 fill $GOLD path 'M 8,8 L 8,0.5 A 7.5,7.5 0 0,1 15.2,10.2 Z'
fill $RED path 'M 8,8 L 15.2,10.2 A 7.5,7.5 0 0,1 10.5,15.1 Z'"
# 22 registry editor: three cubes
"stroke $NAVY stroke-width 0.8 fill $BLUE rectangle 1.5,8.5 7.5,14.5 fill $RED rectangle 8.5,8.5 14.5,14.5
fill $GREEN rectangle 5,1.5 11,7.5"
# 23 internet protocol: two connected computers
"stroke $NAVY stroke-width 1.2 fill none line 4.5,8 11.5,8 line 8,8 8,14
stroke none fill $BLUE rectangle 0.5,3 8,8 fill $LIGHT rectangle 1.5,4 7,7
fill $BLUE rectangle 8.5,3 15.5,8 fill $LIGHT rectangle 9.5,4 14.5,7 fill $GOLD rectangle 5,13 11,15.5"
# 24 help and maintenance: the information sign
"stroke none fill $GREEN circle 8,8 8,15.5 fill white circle 8,4.4 8,5.8
fill white rectangle 6.7,6.8 9.3,12.2 rectangle 5.8,11.5 10.2,12.8 rectangle 6.2,6.8 6.9,7.8"
)
tool_cells=()
for i in "${!tool_icons[@]}"; do
    render "$TMP/tool-$i.png" 16 16 "${tool_icons[$i]}" || { echo "tool icon $((i + 1)) failed" >&2; exit 1; }
    tool_cells+=("$TMP/tool-$i.png")
done
"$IM" -background none "${tool_cells[@]}" +append "${PNGOPT[@]}" PNG32:tools-items.png

render "$TMP/tab-0.png" 16 16 "stroke $BLUE stroke-width 3.2 stroke-linecap round
line 3,13 9.5,6.5
stroke none fill $BLUE circle 10.8,5.2 10.8,9.9
fill $GOLD circle 3,13 3,13.9" 0 "push graphic-context translate 10.8,5.2 rotate 45 rectangle -1.6,-6 1.6,0.3 pop graphic-context"
render "$TMP/tab-1.png" 16 16 "${tool_icons[18]}"
render "$TMP/tab-2.png" 16 16 "${tool_icons[23]}"
"$IM" -background none "$TMP/tab-0.png" "$TMP/tab-1.png" "$TMP/tab-2.png" +append "${PNGOPT[@]}" PNG32:tools-tabs.png

# Pictures of the Windows tools view, drawn by make-art.sh (which sources this file and provides tango,
# SCALES, FACTORS and times): tools-items.png, the 24 item icons of 16 x 16 side by side (items 1 to 23, then
# the one shared by every "Aide et maintenance" item), and tools-tabs.png, the three tab pictures; each at the
# three scales.

tool_icons=(
    apps/utilities-system-monitor        # 1 task manager
    mimetypes/x-office-spreadsheet       # 2 performance
    devices/computer                     # 3 resources
    categories/preferences-desktop       # 4 control panel
    devices/drive-harddisk               # 5 defragmenter
    places/user-trash                    # 6 disk cleaner
    actions/go-jump                      # 7 run
    status/dialog-warning                # 8 malicious software removal
    mimetypes/package-x-generic          # 9 self-extracting archives
    places/user-desktop                  # 10 minimise all
    actions/window-new                   # 11 show all
    actions/system-lock-screen           # 12 lock the taskbar
    apps/preferences-system-windows      # 13 taskbar properties
    places/start-here                    # 14 start menu
    actions/appointment                  # 15 clock
    apps/internet-web-browser            # 16 internet options
    actions/system-shutdown              # 17 shut down
    apps/utilities-terminal              # 18 console
    categories/applications-system       # 19 services
    actions/document-properties          # 20 system configuration
    devices/drive-removable-media        # 21 disk management
    categories/applications-development  # 22 registry editor
    status/network-idle                  # 23 internet protocol
    apps/help-browser                    # 24 help and maintenance
)
tool_tabs=(categories/preferences-system categories/applications-system apps/help-browser)

# strip OUT SIZE NAME...: the icons of SIZE pixels side by side
strip() {
    local out=$1 size=$2 cells=() k=0 name
    shift 2
    for name in "$@"; do
        tango "$TMP/cell-$k.png" "$size" "$name" || { echo "icon $name failed" >&2; exit 1; }
        cells+=("$TMP/cell-$k.png")
        k=$((k + 1))
    done
    "$IM" -background none "${cells[@]}" +append "${PNGOPT[@]}" "PNG32:$out"
}
for i in 0 1 2; do
    strip "tools-items${SCALES[$i]}.png" "$(times 16 "${FACTORS[$i]}")" "${tool_icons[@]}"
    strip "tools-tabs${SCALES[$i]}.png" "$(times 16 "${FACTORS[$i]}")" "${tool_tabs[@]}"
done

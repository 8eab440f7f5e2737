#!/usr/bin/env bash
# Prints the engine's figures. The Windows side runs in a Wine sandbox; GNU shred runs natively on an
# identical set of files in the build tree, in the same run, for comparison.
#   bench/run.sh [THROUGHPUT_MIB] [FILES] [ENTRIES]
# ENTRIES sizes the memory run (a whole destruction run: about 15 minutes under Wine for 100,000) and the
# scan of a generated tree.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mib=${1:-1024}
files=${2:-10000}
entries=${3:-100000}
"$top/scripts/build.sh" --quiet
run=("$top/tests/sandbox/run.sh")
template="$top/build/sandbox/template"
bench="$top/build/bin/kbench.exe"

"${run[@]}" "$top/build/sandbox/bench-throughput" "$template" --install "$bench" -- kbench.exe throughput "$mib"

out=$("${run[@]}" "$top/build/sandbox/bench-files" "$template" --install "$bench" -- kbench.exe files "$files")
echo "$out" | grep -v '^kbench-'
wine_rate=$(echo "$out" | sed -n 's/^kbench-files-per-second //p')

native="$top/build/bench-native"
rm -rf "$native" && mkdir -p "$native"
head -c 4096 /dev/zero | tr '\0' k >"$native/model"
for i in $(seq 0 $((files - 1))); do
    # The same layout as the Windows side: folders of 100 files.
    [ $((i % 100)) = 0 ] && mkdir -p "$native/d$((i / 100))"
    cp "$native/model" "$native/d$((i / 100))/f$i.dat"
done
rm "$native/model"
start=$(date +%s.%N)
find "$native" -name '*.dat' -print0 | xargs -0 shred -n1 --remove=wipe
end=$(date +%s.%N)
rm -r "$native"
awk -v n="$files" -v s="$start" -v e="$end" -v w="$wine_rate" 'BEGIN {
    rate = n / (e - s);
    printf "GNU shred -n1 --remove=wipe, native: %.2f s, %.0f files/s\n", e - s, rate;
    printf "  ratio Kestavel (under Wine) / shred (native): %.2f\n", w / rate }'

"${run[@]}" "$top/build/sandbox/bench-memory" "$template" --install "$bench" -- kbench.exe memory "$entries"

# Ten journal lines and a run over ten empty files, each journalled, with the journal free and held open
# without sharing by another holder.
"${run[@]}" "$top/build/sandbox/bench-journal-held" "$template" --install "$bench" -- kbench.exe journal-held 10

# The scan engine alone: collect, sort, append and total a generated tree, against a bare walk.
"${run[@]}" "$top/build/sandbox/bench-scan" "$template" --install "$bench" -- kbench.exe scan "$entries"

# The window while it queues a tree of 100,000 entries (the start-up scan of the temporary folder).
"${run[@]}" "$top/build/sandbox/bench-scan-window" "$template" --install "$top/build/bin/KestavelShredder.exe" \
    --install "$top/build/bin/kdrive.exe" -- kdrive.exe bench-scan-window

# 1,000 files handed to the running window by a second start (Send To, Explorer's verb), against a drop.
"${run[@]}" "$top/build/sandbox/bench-handed-paths" "$template" --install "$top/build/bin/KestavelShredder.exe" \
    --install "$top/build/bin/kdrive.exe" -- kdrive.exe bench-handed-paths

# The cleaner's temporary-files sweep against a bare FindFirstFileW + DeleteFileW loop over an identical tree.
"${run[@]}" "$top/build/sandbox/bench-sweep" "$template" --install "$top/build/bin/kcleanbench.exe" -- \
    kcleanbench.exe sweep "$entries" $((entries / 100))
# The journal window opening a journal of a million lines, against a bare read of the same file.
"${run[@]}" "$top/build/sandbox/bench-journal-window" "$template" --install "$top/build/bin/KestavelShredder.exe" \
    --install "$top/build/bin/kdrive.exe" -- kdrive.exe bench-journal-window

# The journal window over journals a 32-bit process cannot hold whole: 470 MB of line ends, 2 GB of lines.
"${run[@]}" "$top/build/sandbox/bench-journal-huge" "$template" --install "$top/build/bin/KestavelShredder.exe" \
    --install "$top/build/bin/kdrive.exe" -- kdrive.exe bench-journal-huge

# The Fast Cleaner's dialog while a run sweeps 50,000 temporary files and while a DNS command runs.
"${run[@]}" "$top/build/sandbox/bench-cleaner-window" "$template" --install "$top/build/bin/KestavelShredder.exe" \
    --install "$top/build/bin/kdrive.exe" -- kdrive.exe bench-cleaner-window
# The window with 100,000 then 1,000,000 queued entries (start-up scan, Ctrl+A, "Retirer sélection" of one entry,
# "Retirer tout"): its longest answer to a message, and the memory each queued entry costs. Making the
# tree of a million hard links takes some minutes under Wine.
"${run[@]}" "$top/build/sandbox/bench-window" "$template" --install "$top/build/bin/KestavelShredder.exe" \
    --install "$top/build/bin/kdrive.exe" --shots "$top/build/screenshots" -- kdrive.exe bench-window-million

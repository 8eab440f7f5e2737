#!/usr/bin/env bash
# Runs one test inside its own Wine sandbox:
#   run.sh SANDBOX_DIR TEMPLATE_DIR [--install FILE]... [--link LINK=TARGET]... [--file-link LINK=TARGET]...
#          [--host-file PATH]... [--drive LETTER=FOLDER]... [--shots DIR] [--display] [--dpi DPI] [--user NAME] [--locale LOCALE]
#          [--font FILE]... -- PROGRAM.exe [ARGS...]
# The sandbox gets a fresh copy of the template prefix and its own HOME. The
# installed files land in "C:\Program Files\Kestavel Shredder", the program runs
# from there under its own Xvfb and wineserver. Where mount namespaces are
# available the whole host file system is read-only for the test, except the
# sandbox itself and a private /tmp; the sandbox stays reachable at its own path
# wherever it lies, /tmp included, and runs its own copy of this script.
# Screenshots the test leaves in C:\screenshots are converted to PNG into the
# --shots folder. With --display the program shows on the caller's X display
# instead of a private Xvfb. --link makes a directory symbolic link inside drive C: (both paths relative to
# it, e.g. "case/folder/link=case/target"): Wine shows it as a reparse point, which Windows programs can
# otherwise not create under Wine. --file-link makes a file symbolic link the same way (the target file is
# made empty when missing): Wine shows it as a plain file. --host-file makes an empty file (and its
# folders) inside drive C: from the host side, for names that Windows cannot make (e.g. "case/x?1?y").
# --drive maps a second drive letter onto a folder of drive C: (e.g. "d=partage"), as a substituted drive
# or a volume mounted twice would. Every link is checked to point inside the sandbox. --unpack unpacks a zip archive into a folder of drive C: (e.g.
# "dist/app.zip=Portable"). --dpi sets the screen's scale (HKCU\Control Panel\Desktop\LogPixels: 96 is
# 100 %, 144 is 150 %) before anything starts in the prefix, and the Xvfb screen grows by the same ratio. --user gives the Windows user its name (Wine
# takes it from USER: the profile folder C:\users\NAME, the user name), which must be the template's own:
# give such runs a template of their own. --locale runs Wine in that glibc locale (LC_ALL), so Windows
# speaks its language (a French message box says "Oui", "Non", "Annuler"). --font puts a font file into
# C:\windows\Fonts, where Wine finds it at start-up.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" = "--inner" ]; then
    shift
    sandbox=$1
    shift
    if [ "${KESTAVEL_NAMESPACE:-0}" = 1 ]; then
        mount --make-rprivate /
        mount --bind "$sandbox" "$sandbox"
        mount -o remount,bind,ro /
        if [ "${KESTAVEL_DISPLAY:-0}" = 1 ] && [ -d /tmp/.X11-unix ]; then
            mkdir -p "$sandbox/tmp/.X11-unix"
            mount --bind /tmp/.X11-unix "$sandbox/tmp/.X11-unix"
        fi
        # The private /tmp is the sandbox's own tmp folder. A sandbox that lies under /tmp itself (a clone
        # there) would vanish behind it: it is bound back at its own path inside the private /tmp first.
        host_tmp=$(cd /tmp && pwd -P)
        case "$sandbox" in
            "$host_tmp"/*)
                inside="$sandbox/tmp/${sandbox#"$host_tmp"/}"
                mkdir -p "$inside"
                mount --bind "$sandbox" "$inside"
                ;;
        esac
        mount --rbind "$sandbox/tmp" /tmp
        export TMPDIR=/tmp
        # C:\smalldisk is a 4 MiB volume of its own, where tests meet a full disk for real.
        mkdir -p "$sandbox/prefix/drive_c/smalldisk"
        mount -t tmpfs -o size=4m tmpfs "$sandbox/prefix/drive_c/smalldisk"
    fi
    if [ "${KESTAVEL_DISPLAY:-0}" = 1 ]; then
        exec "$BASH" "$0" --wine "$sandbox" "$@"
    fi
    # A screen of another scale is the same screen with more pixels: 1280 x 1024 at 96 DPI grows with it,
    # so that a window laid out for the scale fits on it as it does at 100 %.
    dpi=${KESTAVEL_DPI:-96}
    exec xvfb-run -a -s "-screen 0 $((1280 * dpi / 96))x$((1024 * dpi / 96))x24" "$BASH" "$0" --wine "$sandbox" "$@"
fi

if [ "${1:-}" = "--wine" ]; then
    shift
    sandbox=$1
    shift
    export HOME="$sandbox/home" WINEPREFIX="$sandbox/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME XDG_RUNTIME_DIR
    cd "$WINEPREFIX/drive_c/Program Files/Kestavel Shredder"
    # A persistent wineserver, and one throwaway start, keep Wine's background
    # services from holding the test's output pipe open.
    wineserver -p
    if [ -n "${KESTAVEL_DPI:-}" ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$KESTAVEL_DPI" /f >/dev/null 2>&1
    fi
    wine cmd /c exit >/dev/null 2>&1 || true
    rc=0
    if [ -n "${KESTAVEL_RUN_SHOT:-}" ]; then
        # Headless run of the program: show the user what the screen looks like once it is up.
        wine "$@" &
        program=$!
        sleep 8
        import -window root "$sandbox/$KESTAVEL_RUN_SHOT" 2>/dev/null && echo "run: screenshot saved to $sandbox/$KESTAVEL_RUN_SHOT"
        if [ -n "${KESTAVEL_RUN_SECONDS:-}" ]; then
            sleep "$KESTAVEL_RUN_SECONDS"
            wineserver -k >/dev/null 2>&1 || true
        fi
        wait $program || rc=$?
    else
        # The test's standard input is a pipe that never ends, as a console that nobody types into: a
        # program's console child (cmd /k started by a tool link) then waits at its prompt as it does on
        # Windows, where an input at its end would let it leave at once, before a driver could see it.
        exec 3< <(exec sleep infinity)
        holder=$!
        wine "$@" <&3 || rc=$?
        exec 3<&-
        kill "$holder" 2>/dev/null || true
    fi
    wineserver -k >/dev/null 2>&1 || true
    # A Wine process that was starting as the server was told to end (a console host of a command the test
    # ran, say) can outlive it, keeping the test's output open so that ctest waits for ever: whatever is
    # left of this prefix goes too.
    for environ in /proc/[0-9]*/environ; do
        if { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            pid=${environ#/proc/}
            pid=${pid%/environ}
            [ "$pid" != $$ ] && kill -9 "$pid" 2>/dev/null || true
        fi
    done
    exit $rc
fi

sandbox=$1
template=$2
shift 2
install=()
links=()
file_links=()
host_files=()
drives=()
unpacks=()
fonts=()
user=""
locale=""
shots=""
while [ $# -gt 0 ]; do
    case "$1" in
        --install) install+=("$2"); shift 2 ;;
        --link) links+=("$2"); shift 2 ;;
        --file-link) file_links+=("$2"); shift 2 ;;
        --host-file) host_files+=("$2"); shift 2 ;;
        --drive) drives+=("$2"); shift 2 ;;
        --unpack) unpacks+=("$2"); shift 2 ;;
        --shots) shots=$2; shift 2 ;;
        --dpi) export KESTAVEL_DPI=$2; shift 2 ;;
        --user) user=$2; export USER=$2 LOGNAME=$2; shift 2 ;;
        --locale) locale=$2; export LANG=$2 LC_ALL=$2; shift 2 ;;
        --font) fonts+=("$2"); shift 2 ;;
        --display) export KESTAVEL_DISPLAY=1 XAUTHORITY=${XAUTHORITY:-$HOME/.Xauthority}; shift ;;
        --) shift; break ;;
        *) echo "run.sh: unknown option $1" >&2; exit 2 ;;
    esac
done

# Without its glibc locale Wine would quietly speak English.
if [ -n "$locale" ] && [ -n "$(locale 2>&1 >/dev/null)" ]; then
    echo "run.sh: the locale $locale is not installed (scripts/setup.sh makes fr_FR.UTF-8)" >&2
    exit 2
fi
"$here/make-template.sh" "$template"
if [ -n "$user" ] && [ ! -d "$template/prefix/drive_c/users/$user" ]; then
    echo "run.sh: the template $template was made for another user than $user" >&2
    exit 2
fi

# Fresh copy of the template: the large, read-only system DLL folders are hard
# links, everything a program may write is a real copy.
rm -rf "$sandbox"
mkdir -p "$sandbox/prefix"
cp -a "$template/home" "$sandbox/home"
big=(drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs)
(cd "$template/prefix" && tar "${big[@]/#/--exclude=./}" -cf - .) | (cd "$sandbox/prefix" && tar -xf -)
for dir in "${big[@]}"; do
    # A 32-bit prefix has no syswow64.
    if [ -d "$template/prefix/$dir" ]; then cp -al "$template/prefix/$dir" "$sandbox/prefix/$dir"; fi
done
sandbox=$(cd "$sandbox" && pwd -P)
mkdir -m 1777 "$sandbox/tmp"

program_dir="$sandbox/prefix/drive_c/Program Files/Kestavel Shredder"
mkdir -p "$program_dir" "$sandbox/prefix/drive_c/screenshots"
for file in "${install[@]}"; do cp "$file" "$program_dir/"; done
for file in "${fonts[@]}"; do cp "$file" "$sandbox/prefix/drive_c/windows/Fonts/"; done
# Links and host files are made only at paths inside the sandbox: nothing is created outside it before the
# check below would refuse the link.
inside() {
    case "$(realpath -m "$sandbox/prefix/drive_c/$1")" in
        "$sandbox"/*) ;;
        *) echo "run.sh: $1 lies outside the sandbox" >&2; exit 2 ;;
    esac
}
for link in "${links[@]}" "${file_links[@]}"; do inside "${link%%=*}"; inside "${link#*=}"; done
for file in "${host_files[@]}"; do inside "$file"; done
for drive in "${drives[@]}"; do
    inside "${drive#*=}"
    case "${drive%%=*}" in [d-y]) ;; *) echo "run.sh: --drive takes a letter from d to y" >&2; exit 2 ;; esac
done
for link in "${links[@]}"; do
    drive_c="$sandbox/prefix/drive_c"
    mkdir -p "$drive_c/${link#*=}" "$(dirname "$drive_c/${link%%=*}")"
    ln -sr "$drive_c/${link#*=}" "$drive_c/${link%%=*}"
done
for link in "${file_links[@]}"; do
    drive_c="$sandbox/prefix/drive_c"
    mkdir -p "$(dirname "$drive_c/${link#*=}")" "$(dirname "$drive_c/${link%%=*}")"
    [ -e "$drive_c/${link#*=}" ] || : >"$drive_c/${link#*=}"
    ln -sr "$drive_c/${link#*=}" "$drive_c/${link%%=*}"
done
for drive in "${drives[@]}"; do
    mkdir -p "$sandbox/prefix/drive_c/${drive#*=}"
    ln -s "../drive_c/${drive#*=}" "$sandbox/prefix/dosdevices/${drive%%=*}:"
done
for file in "${host_files[@]}"; do
    mkdir -p "$(dirname "$sandbox/prefix/drive_c/$file")"
    : >"$sandbox/prefix/drive_c/$file"
done
for unpack in "${unpacks[@]}"; do
    mkdir -p "$sandbox/prefix/drive_c/${unpack#*=}"
    (cd "$sandbox/prefix/drive_c/${unpack#*=}" && cmake -E tar xf "$(realpath "${unpack%%=*}")")
done
"$here/check-sandbox.sh" "$sandbox"

if unshare -m --propagation private true 2>/dev/null; then
    export KESTAVEL_NAMESPACE=1
    launcher=(unshare -m --propagation private)
else
    echo "sandbox: mount namespaces unavailable; the prefix alone keeps the test away from host files" >&2
    export KESTAVEL_NAMESPACE=0
    launcher=()
fi
rc=0
# The sandbox runs its own copy of this script: the private /tmp may hide the clone it comes from.
cp "$0" "$sandbox/run.sh"
"${launcher[@]}" "$BASH" "$sandbox/run.sh" --inner "$sandbox" "$@" || rc=$?

if [ -n "$shots" ]; then
    mkdir -p "$shots"
    for bmp in "$sandbox/prefix/drive_c/screenshots"/*.bmp; do
        [ -e "$bmp" ] || continue
        /usr/bin/convert "$bmp" "$shots/$(basename "${bmp%.bmp}").png"
    done
fi
# The copied prefix is large; keep it only when asked, or when the test failed.
if [ $rc = 0 ] && [ "${KESTAVEL_KEEP_SANDBOX:-0}" != 1 ]; then rm -rf "$sandbox"; fi
exit $rc

#!/usr/bin/env bash
# Makes a fresh Debian 12 machine ready to build and test Kestavel Shredder:
# the cross compilers, Wine, Xvfb, then libjpeg-turbo and libpng cross-built
# from Debian's source packages into .deps/ (built once, reused afterwards).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

packages=(mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine32:i386 wine64 xvfb xauth xdotool x11-apps imagemagick fonts-wine fonts-liberation
    cmake ninja-build googletest libz-mingw-w64-dev nasm dpkg-dev)
# The interface pictures: Tango's icons, and rsvg-convert for their scalable drawings (make-art.sh).
packages+=(tango-icon-theme librsvg2-bin fonts-dejavu-core)
# The spelling test: Hunspell and its French dictionary.
packages+=(hunspell hunspell-fr)
# Shipping: chmcmd compiles the help file, makensis the installer, zip the portable archive.
packages+=(fp-utils nsis zip)
# The help's pictures are taken in French (scripts/help-pictures.sh): Wine needs the glibc locale.
packages+=(locales)

missing_packages() {
    local p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
}

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

if [ -n "$(missing_packages)" ]; then
    echo "setup: installing Debian packages (a few minutes on a fresh machine)"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    as_root apt-get update -qq
    # shellcheck disable=SC2046
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends $(missing_packages) >/dev/null
fi

if ! locale -a | grep -qix 'fr_FR.utf8'; then
    echo "setup: generating the fr_FR.UTF-8 locale"
    as_root sed -i 's/^# *\(fr_FR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    as_root locale-gen >/dev/null
fi

"$top/scripts/build-deps.sh"

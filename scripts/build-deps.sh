#!/usr/bin/env bash
# Cross-builds libjpeg-turbo and libpng (static, 32-bit Windows) from Debian's
# source packages into .deps/i686. Done once: a stamp file marks the result.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
deps="$top/.deps"
prefix="$deps/i686"
stamp="$prefix/.built"
[ -f "$stamp" ] && exit 0

echo "setup: cross-building libjpeg-turbo and libpng into .deps (once)"
apt_dir="$deps/apt"
src="$deps/src"
mkdir -p "$apt_dir/lists/partial" "$src"
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    >"$apt_dir/sources.list"
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/nonexistent
    -o "Dir::State::Lists=$apt_dir/lists" -o Debug::NoLocking=1 -qq)
apt-get "${apt_opts[@]}" update
(cd "$src" && apt-get "${apt_opts[@]}" source --download-only libjpeg-turbo libpng1.6 2>&1 | grep -v -i unsandboxed || true)

unpack() { # package-name -> unpacked directory
    local dsc
    dsc=$(ls "$src"/"$1"_*.dsc | head -n 1)
    rm -rf "$src/$1.unpacked"
    dpkg-source --no-check -x "$dsc" "$src/$1.unpacked" >/dev/null
    echo "$src/$1.unpacked"
}

toolchain="$top/cmake/mingw-i686.cmake"
jpeg_dir=$(unpack libjpeg-turbo)
cmake -S "$jpeg_dir" -B "$deps/build/jpeg" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF >/dev/null
cmake --build "$deps/build/jpeg" --target install >/dev/null

png_dir=$(unpack libpng1.6)
cmake -S "$png_dir" -B "$deps/build/png" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_LIBRARY=/usr/i686-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include >/dev/null
cmake --build "$deps/build/png" --target install >/dev/null

rm -rf "$deps/build" "$src"/*.unpacked
touch "$stamp"
echo "setup: libraries ready in $prefix"

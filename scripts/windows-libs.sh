#!/usr/bin/env bash
# Builds the libraries the Windows program links (SDL2, SDL2_mixer, FreeType, libpng; zlib comes
# from Debian's libz-mingw-w64-dev) with MinGW-w64 from Debian's own source packages, as static
# libraries, into a cache outside the source tree. The cache folder is named after the source
# versions, the compiler and this script, so a change to any of them builds a fresh one and an
# unchanged one is reused. Prints the prefix folder on the last line of stdout.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$PWD
triple=x86_64-w64-mingw32
cache_root=${UNDERTOW_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/undertow-windows}
sources=(libsdl2 libsdl2-mixer freetype libpng1.6)

log() { echo "windows-libs: $*" >&2; }

scripts/install-windows-deps.sh >&2

# The newest version of each source the machine's apt sources list; older ones are fallbacks
# for a version listed but not served.
listing=$(scripts/debian-source.sh versions "${sources[@]}")
declare -A versions
while read -r name listed; do versions[$name]=$listed; done <<<"$listing"

compiler=$($triple-gcc-posix --version | head -n1)
key_text="$compiler"
for name in "${sources[@]}"; do key_text+=" $name=${versions[$name]%% *}"; done
key_text+=" zlib=$(dpkg-query -W -f='${Version}' libz-mingw-w64-dev)"
key_text+=" script=$(cat scripts/windows-libs.sh scripts/debian-source.sh cmake/mingw-w64-x86_64.cmake | sha256sum | cut -c1-12)"
key=$(echo "$key_text" | sha256sum | cut -c1-16)
prefix=$cache_root/$key
if [[ -f "$prefix/.complete" ]]; then
  log "reusing $prefix"
  echo "$prefix"
  exit 0
fi

start=$(date +%s)
work=$cache_root/work-$key
rm -rf "$work" "$prefix"
mkdir -p "$work" "$prefix"
echo "$key_text" >"$prefix/KEY"

declare -A folders
# Unpacks the upstream source of a downloaded package into the work folder.
unpack() {
  scripts/debian-source.sh unpack "${folders[$1]}" "$work/$1/src"
  echo "$work/$1/src"
}

cmake_build() {
  local src=$1 build=$2
  shift 2
  cmake -S "$src" -B "$build" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$build.log" 2>&1 || { tail -n 30 "$build.log" >&2; return 1; }
  cmake --build "$build" -j"$(nproc)" >>"$build.log" 2>&1 || { tail -n 30 "$build.log" >&2; return 1; }
  cmake --install "$build" >>"$build.log" 2>&1
}

for name in "${sources[@]}"; do
  fetched=$(scripts/debian-source.sh fetch "$name" ${versions[$name]})
  read -r got folder <<<"$fetched"
  folders[$name]=$folder
  echo "$name $got" >>"$prefix/VERSIONS"
done

mkdir -p "$prefix/licenses"
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig:/usr/$triple/lib/pkgconfig"

log "building SDL2"
src=$(unpack libsdl2)
cmake_build "$src" "$work/sdl2-build" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
cp "$src/LICENSE.txt" "$prefix/licenses/SDL2.txt"

log "building FreeType"
src=$(unpack freetype)
# With the system's zlib: its own copy of inflate would clash with zlib's in a static link.
cmake_build "$src" "$work/freetype-build" -DFT_REQUIRE_ZLIB=ON -DZLIB_LIBRARY="/usr/$triple/lib/libz.a" \
  -DZLIB_INCLUDE_DIR="/usr/$triple/include" -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
cat "$src/LICENSE.TXT" "$src/docs/FTL.TXT" >"$prefix/licenses/FreeType.txt"

log "building libpng"
src=$(unpack libpng1.6)
cmake_build "$src" "$work/png-build" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
cp "$src/LICENSE" "$prefix/licenses/libpng.txt"

# SDL2_mixer with its own MP3 decoder (dr_mp3) and WAV; nothing else is needed by the demo.
log "building SDL2_mixer"
src=$(unpack libsdl2-mixer)
cmake_build "$src" "$work/mixer-build" -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF \
  -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF -DSDL2MIXER_MIDI=OFF \
  -DSDL2MIXER_MOD=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_VORBIS=OFF \
  -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVPACK=OFF -DSDL2MIXER_GME=OFF
cp "$src/LICENSE.txt" "$prefix/licenses/SDL2_mixer.txt"

cp /usr/share/doc/libz-mingw-w64-dev/copyright "$prefix/licenses/zlib.txt"
echo "zlib $(dpkg-query -W -f='${Version}' libz-mingw-w64-dev)" >>"$prefix/VERSIONS"

rm -rf "$work"
touch "$prefix/.complete"
log "built in $(($(date +%s) - start)) s into $prefix"
echo "$prefix"

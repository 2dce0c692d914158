#!/usr/bin/env bash
# Builds the libraries the web program links (SDL2, SDL2_mixer with its own MP3 decoder,
# FreeType, libpng, zlib) with Debian's Emscripten from Debian's own source packages, as static
# WebAssembly libraries, into a cache outside the source tree (no Emscripten ports: they download
# at build time). The cache folder is named after the source versions, the compiler and the
# scripts, so a change to any of them builds a fresh one and an unchanged one is reused. Prints
# the prefix folder on the last line of stdout.
set -euo pipefail
cd "$(dirname "$0")/.."
cache_root=${UNDERTOW_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/undertow-web}
sources=(zlib libpng1.6 freetype libsdl2 libsdl2-mixer)
# Debian's node is not always the one on the PATH: emcc's optimiser finds acorn here.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

log() { echo "web-libs: $*" >&2; }

scripts/install-web-deps.sh >&2

listing=$(scripts/debian-source.sh versions "${sources[@]}")
declare -A versions
while read -r name listed; do versions[$name]=$listed; done <<<"$listing"

key_text="emscripten=$(dpkg-query -W -f='${Version}' emscripten) $(emcc --version | sed -n 1p)"
for name in "${sources[@]}"; do key_text+=" $name=${versions[$name]%% *}"; done
key_text+=" script=$(cat scripts/web-libs.sh scripts/debian-source.sh | sha256sum | cut -c1-12)"
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
mkdir -p "$work" "$prefix/licenses"
echo "$key_text" >"$prefix/KEY"

declare -A folders
for name in "${sources[@]}"; do
  fetched=$(scripts/debian-source.sh fetch "$name" ${versions[$name]})
  read -r got folder <<<"$fetched"
  folders[$name]=$folder
  echo "$name $got" >>"$prefix/VERSIONS"
done

unpack() {
  scripts/debian-source.sh unpack "${folders[$1]}" "$work/$1/src"
  echo "$work/$1/src"
}

# One CMake project through emcmake; the prefix is searched too (Emscripten's toolchain file
# otherwise looks only inside its own sysroot).
cmake_build() {
  local src=$1 build=$2
  shift 2
  emcmake cmake -S "$src" -B "$build" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$build.log" 2>&1 || { tail -n 30 "$build.log" >&2; return 1; }
  emmake cmake --build "$build" -j"$(nproc)" >>"$build.log" 2>&1 || { tail -n 30 "$build.log" >&2; return 1; }
  cmake --install "$build" >>"$build.log" 2>&1
}

timed() {
  local what=$1 began=$SECONDS
  shift
  log "building $what"
  "$@"
  log "$what took $((SECONDS - began)) s"
}

# zlib through its own configure script (Debian's source leaves out the win32/ folder its CMake
# build names).
build_zlib() {
  local src
  src=$(unpack zlib)
  (cd "$src" && emconfigure ./configure --static --prefix="$prefix" && emmake make -j"$(nproc)" libz.a &&
    emmake make install) >"$work/zlib-build.log" 2>&1 || { tail -n 30 "$work/zlib-build.log" >&2; return 1; }
  cp "$src/LICENSE" "$prefix/licenses/zlib.txt"
}

build_png() {
  local src
  src=$(unpack libpng1.6)
  cmake_build "$src" "$work/png-build" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include"
  cp "$src/LICENSE" "$prefix/licenses/libpng.txt"
}

build_freetype() {
  local src
  src=$(unpack freetype)
  cmake_build "$src" "$work/freetype-build" -DFT_REQUIRE_ZLIB=ON -DZLIB_LIBRARY="$prefix/lib/libz.a" \
    -DZLIB_INCLUDE_DIR="$prefix/include" -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
  cat "$src/LICENSE.TXT" "$src/docs/FTL.TXT" >"$prefix/licenses/FreeType.txt"
}

build_sdl2() {
  local src
  src=$(unpack libsdl2)
  cmake_build "$src" "$work/sdl2-build" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
  cp "$src/LICENSE.txt" "$prefix/licenses/SDL2.txt"
}

# SDL2_mixer with its own MP3 decoder (dr_mp3) and WAV; nothing else is needed by the demo.
build_mixer() {
  local src
  src=$(unpack libsdl2-mixer)
  cmake_build "$src" "$work/mixer-build" -DSDL2_DIR="$prefix/lib/cmake/SDL2" -DSDL2MIXER_VENDORED=OFF \
    -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF \
    -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_VORBIS=OFF \
    -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVPACK=OFF -DSDL2MIXER_GME=OFF
  cp "$src/LICENSE.txt" "$prefix/licenses/SDL2_mixer.txt"
}

timed zlib build_zlib
timed libpng build_png
timed FreeType build_freetype
timed SDL2 build_sdl2
timed SDL2_mixer build_mixer

rm -rf "$work"
touch "$prefix/.complete"
log "built in $(($(date +%s) - start)) s into $prefix"
echo "$prefix"

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

# A private apt configuration whose source list is the machine's own with deb-src entries, so
# nothing but Debian's own mirrors is asked and no host name is written here.
apt_dir=$cache_root/apt
mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
: >"$apt_dir/parts/undertow-src.sources"
for file in /etc/apt/sources.list.d/*.sources; do
  [[ -e "$file" ]] || continue
  sed -E 's/^Types:.*/Types: deb-src/' "$file" >>"$apt_dir/parts/undertow-src.sources"
  echo >>"$apt_dir/parts/undertow-src.sources"
done
if [[ -f /etc/apt/sources.list ]]; then
  sed -nE 's/^deb[[:space:]]/deb-src /p' /etc/apt/sources.list >"$apt_dir/parts/undertow-src.list"
fi
apt_opts=(-o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$apt_dir/parts"
  -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache")
# apt's download sandbox user cannot write into a root's home folder.
[[ $(id -u) -ne 0 ]] || apt_opts+=(-o APT::Sandbox::User=root)
if [[ -z "$(find "$apt_dir/lists" -maxdepth 1 -name '*Sources*' -mmin -1440 2>/dev/null)" ]]; then
  log "updating the source lists"
  apt-get "${apt_opts[@]}" update -qq >&2
fi

# The newest version each suite lists; a source the security suite lists but does not serve
# falls back to the main suite's (see fetch below).
declare -A versions
for name in "${sources[@]}"; do
  mapfile -t listed < <(apt-cache "${apt_opts[@]}" showsrc "$name" | sed -n 's/^Version: //p' | sort -rV -u)
  [[ ${#listed[@]} -gt 0 ]] || { log "no source package $name in the machine's apt sources"; exit 1; }
  versions[$name]="${listed[*]}"
done

compiler=$($triple-gcc-posix --version | head -n1)
key_text="$compiler"
for name in "${sources[@]}"; do key_text+=" $name=${versions[$name]%% *}"; done
key_text+=" zlib=$(dpkg-query -W -f='${Version}' libz-mingw-w64-dev)"
key_text+=" script=$(cat scripts/windows-libs.sh cmake/mingw-w64-x86_64.cmake | sha256sum | cut -c1-12)"
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

# Downloads one source package into its own folder, trying each listed version newest first.
fetch() {
  local name=$1 version
  mkdir -p "$work/$name"
  for version in ${versions[$name]}; do
    if (cd "$work/$name" && apt-get "${apt_opts[@]}" source --download-only -qq "$name=$version" >&2); then
      echo "$version"
      return 0
    fi
    log "$name $version is listed but not served; trying an older one"
    rm -f "$work/$name"/*.dsc
  done
  log "cannot download the source of $name"
  return 1
}

# Unpacks the upstream tarball of a downloaded source package (Debian's patches are packaging).
unpack() {
  local name=$1 tarball
  tarball=$(ls "$work/$name"/*.orig.tar.* | grep -v '\.asc$' | head -n1)
  mkdir -p "$work/$name/src"
  tar -xf "$tarball" -C "$work/$name/src" --strip-components=1
  echo "$work/$name/src"
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
  log "downloading $name"
  got=$(fetch "$name")
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

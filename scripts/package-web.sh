#!/usr/bin/env bash
# Builds the web version from Linux and writes into out/:
#   web/                        index.html and what it loads, for any static web server
#   undertow-VERSION-web.zip    the same folder
# The Linux build (build/) generates the assets; the libraries come from scripts/web-libs.sh.
# Serve out/web/ from any static web server, for example: python3 -m http.server -d out/web
# UNDERTOW_DOWNLOADS_URL is where the page's help links the Linux and Windows packages (default
# ../, beside the web folder, as out/ holds them).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/install-web-deps.sh
# Debian's node is not always the one on the PATH: emcc's optimiser finds acorn here.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

# The Linux build's asset generator: only it is needed here.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target generate_assets
prefix=$(scripts/web-libs.sh | tail -n1)
version=$(sed -nE 's/^project\(Undertow VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
name=undertow-$version-web

cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/emscripten-web.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DUNDERTOW_WEB_LIBS="$prefix" >/dev/null
cmake --build build-web -j"$(nproc)"

# The program's files as one archive, in a fixed order and with fixed times, so the same assets
# make the same bytes.
files=build-web/files
rm -rf "$files"
mkdir -p "$files/fonts"
cp -r build/assets/TEKSTURY build/assets/DANE "$files/"
cp /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf "$files/fonts/"

out=out/web
rm -rf "$out"
mkdir -p "$out/licenses"
tar --format=ustar --sort=name --mtime=@0 --owner=0 --group=0 --numeric-owner -C "$files" -cf - DANE TEKSTURY fonts |
  gzip -9 -n >"$out/undertow-files.tar.gz"
cp web/* "$out/"
# The help panel's downloads lie beside the web folder unless another address is given.
downloads=${UNDERTOW_DOWNLOADS_URL:-../}
sed -i -e "s|@VERSION@|$version|g" -e "s|@DOWNLOADS@|$downloads|g" "$out/index.html"
cp build-web/undertow.js "$out/"
gzip -9 -n -c build-web/undertow.wasm >"$out/undertow.wasm.gz"
cp build/assets/undertow.png "$out/"
cp LICENSE "$out/licenses/Undertow.txt"
cp "$prefix"/licenses/*.txt "$out/licenses/"
cp /usr/share/doc/fonts-liberation/copyright "$out/licenses/LiberationSans.txt"

mkdir -p "build-web/zip"
rm -rf "build-web/zip/$name" "out/$name.zip"
cp -r "$out" "build-web/zip/$name"
(cd build-web/zip && zip -qr -X "../../out/$name.zip" "$name")

(cd "$out" && find . -type f -printf '%s\t%P\n' | sort -k2)
echo "total $(find "$out" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }') bytes"
echo "$out/index.html"
echo "out/$name.zip"

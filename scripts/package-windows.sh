#!/usr/bin/env bash
# Builds the 64-bit Windows program from Linux and writes into out/:
#   undertow-VERSION-windows-x64.zip        the program, its assets, README.txt and the licences
#   undertow-VERSION-windows-x64-setup.exe  the same as an NSIS installer
# The Linux build (build/) generates the assets; the libraries come from scripts/windows-libs.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/install-windows-deps.sh
triple=x86_64-w64-mingw32

scripts/build.sh build
prefix=$(scripts/windows-libs.sh | tail -n1)
version=$(sed -nE 's/^project\(Undertow VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
name=undertow-$version-windows-x64

# README.txt, the licences and the fallback font go beside the program.
extras=$PWD/build-windows/package-extras
rm -rf "$extras"
mkdir -p "$extras/licenses" "$extras/fonts"
options=$(build/undertow --help)
awk -v version="$version" -v options="$options" \
  '{ gsub(/@VERSION@/, version); if ($0 == "@OPTIONS@") print options; else print }' \
  dist/windows/README.txt.in | sed 's/$/\r/' >"$extras/README.txt"
cp LICENSE "$extras/licenses/Undertow.txt"
cp "$prefix"/licenses/*.txt "$extras/licenses/"
# The C++ runtime, libgcc and winpthreads are linked into the program.
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$extras/licenses/GCC-runtime.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$extras/licenses/MinGW-w64.txt"
cp /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf "$extras/fonts/"
cp /usr/share/doc/fonts-liberation/copyright "$extras/fonts/LiberationSans-LICENSE.txt"

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DUNDERTOW_WINDOWS_LIBS="$prefix" \
  -DUNDERTOW_ASSET_DIR="$PWD/build/assets" -DUNDERTOW_PACKAGE_EXTRAS="$extras" >/dev/null
cmake --build build-windows -j"$(nproc)"

# Nothing but Windows' own DLLs may be imported: the ZIP must run on a clean system.
headers=$($triple-objdump -p build-windows/undertow.exe)
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
system_dlls=" advapi32.dll gdi32.dll glu32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll \
opengl32.dll setupapi.dll shell32.dll user32.dll version.dll winmm.dll "
for dll in $imports; do
  [[ "$system_dlls" == *" $dll "* ]] || { echo "package-windows: undertow.exe imports $dll, which Windows lacks" >&2; exit 1; }
done
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" ||
  { echo "package-windows: undertow.exe is not a GUI-subsystem program" >&2; exit 1; }

(cd build-windows && cpack -G ZIP >/dev/null && cpack -G NSIS >/dev/null)
mkdir -p out
cp "build-windows/$name.zip" "out/$name.zip"
cp "build-windows/$name.exe" "out/$name-setup.exe"
echo "imports: $(echo $imports)"
echo "out/$name.zip"
echo "out/$name-setup.exe"

#!/usr/bin/env bash
# The Windows build under Wine on an Xvfb display: the packages scripts/package-windows.sh makes,
# the program's options and exit codes, its frames against the Linux build's, a folder with a
# non-ASCII name, the installer, and the video pipe with a stand-in ffmpeg.exe. Run by
# `./test.sh --windows`; prints one line per check and exits 1 when any fails.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
triple=x86_64-w64-mingw32

scripts/package-windows.sh
version=$(sed -nE 's/^project\(Undertow VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
name=undertow-$version-windows-x64

work=$root/build-windows/wine-test
rm -rf "$work"
mkdir -p "$work"
failures=0
pass() { echo "ok    $*"; }
fail() { echo "FAIL  $*"; failures=$((failures + 1)); }
check() {   # check DESCRIPTION COMMAND...: passes when the command succeeds
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# A display of our own, gone when the script ends.
display=90
while [[ -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=":$display"
export LC_ALL=C.UTF-8 SDL_AUDIODRIVER=dummy
# Wine hands GL to the host's Mesa, llvmpipe with its rasterizer threads; the program waits after
# each flush as on Linux (platform/rasterizer_settle.h).
unset WAYLAND_DISPLAY SDL_VIDEODRIVER LP_NUM_THREADS
finish() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
}
trap finish EXIT
sleep 1
# A fresh prefix must be complete before the first program starts.
wineboot -i >/dev/null 2>&1
wineserver -w

# The ZIP unpacked into a folder whose name is not ASCII; the program runs from there.
demo_dir="$WINEPREFIX/drive_c/Użytkownik Gość/Łódź demo"
demo_win='C:\Użytkownik Gość\Łódź demo'
mkdir -p "$demo_dir"
(cd "$demo_dir" && cmake -E tar xf "$root/out/$name.zip")
check "the ZIP holds the program, the assets, README.txt, the licences and the font" \
  test -f "$demo_dir/undertow.exe" -a -d "$demo_dir/TEKSTURY" -a -d "$demo_dir/DANE" -a -f "$demo_dir/README.txt" \
  -a -f "$demo_dir/licenses/SDL2.txt" -a -f "$demo_dir/fonts/LiberationSans-Regular.ttf"

# run DIR ARGS...: the program in DIR (a Unix path) from the ZIP, its exit status in $status.
run() {
  local dir=$1
  shift
  status=0
  (cd "$dir" && timeout 900 wine "$demo_win\\undertow.exe" "$@") >"$work/out.txt" 2>"$work/err.txt" || status=$?
}

run "$demo_dir" --help
[[ $status -eq 0 ]] && grep -q -- '--emulate-ext' "$work/out.txt" && pass "--help: exit 0, the option list" ||
  fail "--help: exit $status, $(head -c 200 "$work/out.txt")"
run "$demo_dir" --version
[[ $status -eq 0 ]] && grep -q "$version" "$work/out.txt" && pass "--version: exit 0, $version" ||
  fail "--version: exit $status, $(cat "$work/out.txt")"
run "$demo_dir" --gl-info
[[ $status -eq 0 ]] && grep -qi 'llvmpipe' "$work/out.txt" && grep -q 'vertex-weighting' "$work/out.txt" &&
  pass "--gl-info: exit 0, $(grep -i -m1 renderer "$work/out.txt")" || fail "--gl-info: exit $status, $(cat "$work/out.txt" "$work/err.txt" | head -5)"
run "$demo_dir" --no-ext bogus
[[ $status -eq 2 ]] && pass "--no-ext bogus: exit 2" || fail "--no-ext bogus: exit $status"
run "$demo_dir" --data 'C:\nowhere'
[[ $status -eq 1 ]] && grep -q 'nowhere' "$work/err.txt" && pass "--data with no assets: exit 1, $(cat "$work/err.txt")" ||
  fail "--data with no assets: exit $status, $(cat "$work/err.txt")"
# With no --data and no assets in the current folder or beside the program.
lonely="$WINEPREFIX/drive_c/samotny"
mkdir -p "$lonely"
cp "$demo_dir/undertow.exe" "$lonely/"
status=0
(cd "$lonely" && timeout 300 wine 'C:\samotny\undertow.exe' --frames 1) >"$work/out.txt" 2>"$work/err.txt" || status=$?
[[ $status -eq 1 ]] && grep -q 'TEKSTURY' "$work/err.txt" && pass "no asset folder: exit 1" ||
  fail "no asset folder: exit $status, $(cat "$work/err.txt")"

# The whole timeline with GL errors checked, measured, the figures written beside the program.
run "$demo_dir" --benchmark --fps 5 --check-gl --windowed --json 'wyniki ż.json'
[[ $status -eq 0 ]] && [[ -s "$demo_dir/wyniki ż.json" ]] && pass "--benchmark --check-gl: exit 0, JSON written to a non-ASCII name" ||
  fail "--benchmark --check-gl: exit $status, $(tail -3 "$work/err.txt")"
cp "$work/out.txt" "$work/benchmark-windows.txt"

# Frames of both builds at 5 fps over the whole timeline, the Windows one captured into a
# folder with a non-ASCII name, found through the program's own folder (no --data).
linux_frames=$work/linux-frames
SDL_VIDEODRIVER=offscreen build/undertow --data build/assets --capture "$linux_frames" --fps 5 >/dev/null 2>&1 || true
run "$demo_dir" --capture 'klatki ł' --fps 5 --windowed
frames_dir="$demo_dir/klatki ł"
count=$(find "$frames_dir" -name 'frame_*.png' | wc -l)
[[ $count -ge 990 ]] && pass "capture into a non-ASCII folder: $count frames" || fail "capture into a non-ASCII folder: $count frames, exit $status, $(tail -2 "$work/err.txt")"
# Scene by scene, frame numbers at 5 fps: the twist, the cloud, the cave, the island, the credits.
# Both builds draw with the same llvmpipe; measured: scene two a mean of 0.0001 levels, the
# others identical, no pixel more than 16 levels apart anywhere. The limits leave room for a
# few edge pixels that the two C libraries' floating point may move, not for a scene drawn
# differently.
check "frames against the Linux build's" python3 tests/windows/compare_builds.py "$linux_frames" "$frames_dir" \
  scene-one-twist:100-150:0.01:0.05 scene-two:250-430:0.01:0.05 cave:440-560:0.01:0.05 \
  island:565-900:0.01:0.05 credits:905-995:0.01:0.05

# Scene two through our vertex-array-range layer.
mkdir -p "$work/var-linux"
SDL_VIDEODRIVER=offscreen build/undertow --data build/assets --emulate-ext vertex-array-range \
  --capture "$work/var-linux" --fps 5 --start 60 --frames 5 >/dev/null 2>&1 || true
run "$demo_dir" --emulate-ext vertex-array-range --capture 'klatki var' --fps 5 --start 60 --frames 5 --windowed
check "scene two with --emulate-ext vertex-array-range against Linux" python3 tests/windows/compare_builds.py \
  "$work/var-linux" "$demo_dir/klatki var" scene-two-var:300-304:0.01:0.05

# The video pipe: a stand-in ffmpeg.exe on the PATH must receive exactly the frames' bytes
# (BGRA, top row first), here frames 105 to 107 of the capture above; without it, exit 1.
tools_dir="$WINEPREFIX/drive_c/narzędzia"
mkdir -p "$tools_dir"
$triple-g++-posix -O2 -static tests/windows/stand_in_ffmpeg.cpp -o "$tools_dir/ffmpeg.exe"
export WINEPATH='C:\narzędzia'
run "$demo_dir" --capture 'wideo ł.mp4' --fps 5 --start 21 --frames 3 --windowed
unset WINEPATH
ffmpeg -v error -start_number 105 -i "$frames_dir/frame_%06d.png" -frames:v 3 -f rawvideo -pix_fmt bgra \
  "$work/expected.bgra" 2>/dev/null || true
if [[ $status -eq 0 ]] && cmp -s "$demo_dir/wideo ł.mp4" "$work/expected.bgra"; then
  pass "the stand-in ffmpeg.exe received exactly the $(stat -c %s "$work/expected.bgra") bytes of 3 frames"
else
  fail "the video pipe: exit $status, $(stat -c %s "$demo_dir/wideo ł.mp4" 2>/dev/null || echo no) bytes received, $(tail -1 "$work/err.txt")"
fi
run "$demo_dir" --capture 'bez ffmpeg.mp4' --fps 5 --frames 3 --windowed
[[ $status -eq 1 ]] && grep -q 'ffmpeg is not installed' "$work/err.txt" && pass "--capture X.mp4 without ffmpeg.exe: exit 1, one line" ||
  fail "--capture X.mp4 without ffmpeg.exe: exit $status, $(cat "$work/err.txt")"

# The installer: silent install into Program Files with a Start-menu entry, the installed
# program plays a stretch from elsewhere, and the silent uninstall leaves nothing behind.
installed="$WINEPREFIX/drive_c/Program Files/Undertow"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Undertow"
timeout 300 wine "$root/out/$name-setup.exe" /S >/dev/null 2>&1 || true
wineserver -w
check "silent install into Program Files" test -f "$installed/undertow.exe" -a -d "$installed/TEKSTURY" -a -f "$installed/Uninstall.exe"
check "a Start-menu entry" test -f "$menu/Undertow.lnk"
registered() { wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Undertow' >/dev/null 2>&1; }
check "an uninstall entry for Apps & features" registered
status=0
(cd "$WINEPREFIX/drive_c" && timeout 600 wine 'C:\Program Files\Undertow\undertow.exe' --benchmark --fps 5 --start 120 \
  --frames 25 --windowed) >"$work/out.txt" 2>"$work/err.txt" || status=$?
[[ $status -eq 0 ]] && pass "the installed program plays a stretch (exit 0)" || fail "the installed program: exit $status, $(tail -2 "$work/err.txt")"
timeout 300 wine 'C:\Program Files\Undertow\Uninstall.exe' /S >/dev/null 2>&1 || true
wineserver -w
sleep 2
check "silent uninstall removes the program's folder" test ! -e "$installed"
check "silent uninstall removes the Start-menu entry" test ! -e "$menu"
if registered; then fail "silent uninstall leaves the uninstall entry"; else pass "silent uninstall removes the uninstall entry"; fi

echo "$failures failed"
[[ $failures -eq 0 ]]

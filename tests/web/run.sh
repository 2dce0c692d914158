#!/usr/bin/env bash
# The web build in a real browser: the page scripts/package-web.sh makes, served from a local
# static server to headless Chromium with SwiftShader's WebGL 2 (tests/web/page_test.py), its
# frames held to the Linux desktop build's. Run by `./test.sh --web`; prints one line per check
# and exits 1 when any fails.
set -euo pipefail
cd "$(dirname "$0")/../.."

scripts/package-web.sh
# The desktop program whose frames the page's are held to.
cmake --build build -j"$(nproc)" --target undertow

work=$PWD/build-web/page-test
rm -rf "$work"
mkdir -p "$work/desktop"
for moment in 9 33 61 95 121 185; do
  env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    build/undertow --data build/assets --start "$moment" --frames 1 --capture "$work/desktop/$moment" \
    >>"$work/desktop.log" 2>&1 || { cat "$work/desktop.log"; exit 1; }
done
exec tests/web/page_test.py out/web "$work/desktop" "$work"

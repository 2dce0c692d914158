#!/usr/bin/env bash
# Installs what is missing, builds and runs every test. With --sanitize, builds with ASan and
# UBSan into build-sanitize/ instead. With --windows, builds the Windows program and its packages
# and tests them under Wine (tests/windows/run.sh). With --web, builds the web page and tests it
# in headless Chromium (tests/web/run.sh).
set -euo pipefail
cd "$(dirname "$0")"
if [[ "${1:-}" == "--windows" ]]; then
  exec tests/windows/run.sh
fi
if [[ "${1:-}" == "--web" ]]; then
  exec tests/web/run.sh
fi
scripts/install-deps.sh

dir=build
flags=()
if [[ "${1:-}" == "--sanitize" ]]; then
  dir=build-sanitize
  flags=(-DUNDERTOW_SANITIZE=ON)
fi
scripts/build.sh "$dir" "${flags[@]}"
cd "$dir"
ctest --output-on-failure -j"$(nproc)"

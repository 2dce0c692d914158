#!/usr/bin/env bash
# Installs what is missing, builds and runs every test. With --sanitize, builds with ASan and
# UBSan into build-sanitize/ instead.
set -euo pipefail
cd "$(dirname "$0")"
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

#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/, clang with libFuzzer) into build-fuzz/ and runs each for the
# given number of seconds (default 60), starting from seeds cut from the generated assets:
#   scripts/fuzz.sh [SECONDS] [TARGET...]        (FUZZ_ASSETS=DIR: take the seeds from DIR)
# The corpus each target grows is kept in build-fuzz/corpus/TARGET; an input that breaks a
# target is saved as build-fuzz/crashes/TARGET-*. Prints the executions run per target and
# exits non-zero when any target found a fault.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true

# clang and its runtime libraries (libFuzzer among them) are not needed by ./test.sh.
if ! command -v clang++ >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "ok installed"; then
  echo "Installing clang and libclang-rt-14-dev"
  sudo=()
  [[ $(id -u) -ne 0 ]] && sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev
fi

out=build-fuzz
cmake -S fuzz -B "$out" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" -j"$(nproc)"

# The seeds come from the generated assets: those in $FUZZ_ASSETS when it names a folder, else
# from a generator built on its own for them.
assets=${FUZZ_ASSETS:-$out/generator/assets}
if [[ -z ${FUZZ_ASSETS:-} && ! -f $assets/.generated ]]; then
  scripts/install-deps.sh
  cmake -S . -B "$out/generator" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DUNDERTOW_TESTS=OFF >/dev/null
  cmake --build "$out/generator" --target generate_assets -j"$(nproc)"
fi
rm -rf "$out/seeds"
scripts/fuzz-seeds.sh "$assets" "$out/seeds"

targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  for binary in "$out"/*_fuzzer; do targets+=("$(basename "$binary" _fuzzer)"); done
fi

declare -A maxLength=([heightmap]=65536 [path]=4096)
mkdir -p "$out/crashes" "$out/logs"
status=0
summary=()
for target in "${targets[@]}"; do
  mkdir -p "$out/corpus/$target"
  log=$out/logs/$target.log
  echo "== $target: $seconds s"
  set +e
  "$out/${target}_fuzzer" -max_total_time="$seconds" -max_len="${maxLength[$target]:-8192}" -timeout=20 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/crashes/$target-" \
    "$out/corpus/$target" "$out/seeds/$target" >"$log" 2>&1
  result=$?
  set -e
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  if [[ $result -eq 0 ]]; then
    summary+=("$target: $runs executions, no fault")
  else
    summary+=("$target: FAULT after $runs executions (exit $result), see $log")
    grep -m 5 -E "fuzz check failed|ERROR: |runtime error|Test unit written" "$log" || true
    status=1
  fi
done
printf '%s\n' "${summary[@]}"
exit $status

#!/usr/bin/env bash
# Runs two builds' whole-timeline benchmarks alternately (A B A B ...) and prints, per scene,
# the best median and p99 of each and the ratio B/A:
#   scripts/benchmark-ab.sh A_PROGRAM A_ASSETS B_PROGRAM B_ASSETS [ROUNDS] [-- extra options]
# ROUNDS defaults to 2. Each run's JSON is kept in ${AB_OUT:-out/ab}/.
set -euo pipefail
a=${1:?program A}; a_assets=${2:?assets A}; b=${3:?program B}; b_assets=${4:?assets B}
rounds=${5:-2}
shift $(( $# < 5 ? $# : 5 ))
[[ "${1:-}" == "--" ]] && shift
out=${AB_OUT:-out/ab}
mkdir -p "$out"
echo "start $(date +%H:%M), load: $(cut -d' ' -f1-3 /proc/loadavg)"
for round in $(seq 1 "$rounds"); do
  for side in A B; do
    if [[ $side == A ]]; then program=$a; assets=$a_assets; else program=$b; assets=$b_assets; fi
    SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$program" --data "$assets" --benchmark --fps 60 \
      --json "$out/$side$round.json" "$@" > /dev/null
    echo "round $round $side done $(date +%H:%M:%S), load: $(cut -d' ' -f1-3 /proc/loadavg)"
  done
done
python3 - "$out" "$rounds" <<'PY'
import json, sys
out, rounds = sys.argv[1], int(sys.argv[2])
def best(side):
    runs = [json.load(open(f"{out}/{side}{r}.json"))["sections"] for r in range(1, rounds + 1)]
    return {s: min((run[s] for run in runs if s in run), key=lambda x: x["median_ms"]) for s in runs[0]}
A, B = best("A"), best("B")
print(f"{'scene':12} {'A median':>9} {'A p99':>7} {'B median':>9} {'B p99':>7} {'B/A':>6}")
for s in A:
    if s not in B: continue
    print(f"{s:12} {A[s]['median_ms']:9.2f} {A[s]['p99_ms']:7.2f} {B[s]['median_ms']:9.2f} {B[s]['p99_ms']:7.2f} "
          f"{B[s]['median_ms'] / A[s]['median_ms']:6.2f}")
PY

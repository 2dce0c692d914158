#!/usr/bin/env bash
# Plays stretches of the timeline again and again, two runs at a time, under glibc's heap
# checks, and counts each run's exit code. A fault that shows once in fifty runs (a race, a
# write past a buffer, memory used after it was freed) needs many runs, side by side, with the
# heap checked at every call, to show at all. The first run that fails stops the series; its
# folder keeps the log, the core dump and a backtrace of every thread.
#
#   scripts/stress.sh          the short form, eight runs of a few minutes in all (CI runs it)
#   scripts/stress.sh --long   before a release: 100 runs that cycle through the recording of
#                              0-112 s at 10 fps the fault was found in, a video recording and
#                              benchmarks inside each scene
#   scripts/stress.sh --long --only capture-0-112s --runs 100    that recording alone, 100 times
#
# Options: --program PATH (default build/undertow), --data DIR (default build/assets), --out DIR
# (default build/stress), --runs N, --only NAME (the form's jobs of that name, listed below).
set -uo pipefail
cd "$(dirname "$0")/.."

form=short
runs=
only=
program=build/undertow
data=build/assets
out=build/stress
while (($#)); do
  case "$1" in
    --short) form=short ;;
    --long) form=long ;;
    --runs) runs=$2; shift ;;
    --only) only=$2; shift ;;
    --program) program=$2; shift ;;
    --data) data=$2; shift ;;
    --out) out=$2; shift ;;
    -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "stress.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

if [[ ! -x "$program" || ! -d "$data" ]]; then
  echo "stress.sh: no program at $program or no assets in $data (build first: scripts/build.sh build)" >&2
  exit 2
fi
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
data=$(cd "$data" && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)

# The stretches. Each line: a name, the asset root (`plain`, or `black` for the one whose
# particle.bmp is a black picture of the same size, as the fault was first found with), then
# the program's options; CAPTURE stands for the run's own folder. The short form covers the end
# of scene one and scene two in a frame-folder capture (where the heap was once found corrupted,
# 61.4 s in), the video pipe's writer thread, and frames inside each scene after the timeline
# was played unseen up to them.
short_jobs=(
  "capture-47s     black --capture CAPTURE --fps 10 --start 47 --frames 160"
  "capture-47s     plain --capture CAPTURE --fps 10 --start 47 --frames 160"
  "video-58s       plain --capture CAPTURE/clip.mp4 --fps 10 --start 58 --frames 60"
  "benchmark-30s   plain --benchmark --fps 10 --start 30 --frames 30"
  "benchmark-65s   black --benchmark --fps 10 --start 65 --frames 30"
  "benchmark-95s   plain --benchmark --fps 10 --start 95 --frames 30"
  "benchmark-130s  plain --benchmark --fps 10 --start 130 --frames 30"
  "benchmark-190s  black --benchmark --fps 10 --start 190 --frames 30"
)
long_jobs=(
  "capture-0-112s  black --capture CAPTURE --fps 10 --frames 1122"
  "capture-0-112s  black --capture CAPTURE --fps 10 --frames 1122"
  "benchmark-whole plain --benchmark --fps 10"
  "video-50s       plain --capture CAPTURE/clip.mp4 --fps 10 --start 50 --frames 370"
  "benchmark-20s   plain --benchmark --fps 10 --start 20 --frames 100"
  "benchmark-60s   black --benchmark --fps 10 --start 60 --frames 100"
  "benchmark-100s  plain --benchmark --fps 10 --start 100 --frames 100"
  "benchmark-150s  plain --benchmark --fps 10 --start 150 --frames 100"
)
if [[ $form == long ]]; then jobs=("${long_jobs[@]}"); default_runs=100; limit=3600
else jobs=("${short_jobs[@]}"); default_runs=${#short_jobs[@]}; limit=900; fi
if [[ -n $only ]]; then
  picked=()
  for job in "${jobs[@]}"; do [[ $job == "$only "* ]] && picked+=("$job"); done
  if ((${#picked[@]} == 0)); then echo "stress.sh: the $form form has no job called $only" >&2; exit 2; fi
  jobs=("${picked[@]}")
fi
runs=${runs:-$default_runs}

# glibc's checks: the debugging allocator checks every chunk at every call (MALLOC_CHECK_=3
# aborts at the first inconsistency), and MALLOC_PERTURB_ fills new and freed memory, so a
# read of either gives nonsense at once instead of sometimes. Before glibc 2.34 the checks
# are built in and need no library.
checks=(MALLOC_CHECK_=3 MALLOC_PERTURB_=165)
debug_library=$(ldconfig -p 2>/dev/null | awk '/libc_malloc_debug\.so\.0/ {print $NF; exit}')
[[ -n $debug_library ]] && checks+=(LD_PRELOAD="$debug_library")

ulimit -c unlimited 2>/dev/null || ulimit -c "$(ulimit -Hc)"
[[ $(ulimit -c) == 0 ]] && echo "stress.sh: core dumps cannot be switched on here" >&2
pattern=$(cat /proc/sys/kernel/core_pattern 2>/dev/null || echo core)
if [[ $pattern == \|* ]]; then
  echo "stress.sh: core dumps go to ${pattern%% *} (see coredumpctl), not into the run's folder" >&2
fi

# A black picture in place of one the demo reads: the asset root the fault was found with.
black_root=$out/assets-black-particle
rm -rf "$black_root"
mkdir -p "$black_root"
for entry in "$data"/*; do
  [[ $(basename "$entry") == TEKSTURY ]] || ln -s "$entry" "$black_root/"
done
mkdir -p "$black_root/TEKSTURY"
for entry in "$data"/TEKSTURY/*; do ln -s "$entry" "$black_root/TEKSTURY/"; done
particle=$(find "$data/TEKSTURY" -maxdepth 1 -iname particle.bmp | head -n 1)
if [[ -n $particle ]]; then
  offset=$(od -An -tu4 -j10 -N4 "$particle" | tr -d ' ')
  size=$(stat -c %s "$particle")
  rm "$black_root/TEKSTURY/$(basename "$particle")"
  { head -c "$offset" "$particle"; head -c $((size - offset)) /dev/zero; } > "$black_root/TEKSTURY/$(basename "$particle")"
fi

# Runs job `$2` as run number `$1` in its own folder; the exit code goes to the folder's `rc`.
run_one() {
  local number=$1 job=$2
  local dir=$out/run-$number name which rest root=$data
  local -a args
  read -r name which rest <<< "$job"
  read -r -a args <<< "$rest"
  args=("${args[@]//CAPTURE/$dir/capture}")
  [[ $which == black ]] && root=$black_root
  rm -rf "$dir" && mkdir -p "$dir/capture"
  local start=$SECONDS
  (
    cd "$dir" || exit 1
    printf '%q ' env SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "${checks[@]}" \
      "$program" --data "$root" "${args[@]}" > command
    echo >> command
    exec env SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "${checks[@]}" \
      timeout -s ABRT "$limit" "$program" --data "$root" "${args[@]}" > log 2>&1
  )
  local rc=$?
  echo "$rc $((SECONDS - start)) $name" > "$dir/rc"
}

# What a failed run leaves to look at: its core's backtrace of every thread.
explain() {
  local dir=$1 core
  core=$(ls -t "$dir"/core* 2>/dev/null | head -n 1)
  if [[ -n $core ]] && command -v gdb > /dev/null; then
    gdb -batch -ex 'thread apply all bt' "$program" "$core" > "$dir/backtrace.txt" 2>&1
    echo "  backtrace: $dir/backtrace.txt"
  elif [[ -n $core ]]; then
    echo "  core: $core (gdb is not installed)"
  fi
  echo "  log: $dir/log; command: $dir/command"
  tr '\r' '\n' < "$dir/log" | tail -n 5 | sed 's/^/    /'
}

echo "stress.sh: $runs runs of the $form form, two at a time, under ${checks[*]}"
began=$SECONDS
passed=0
for ((first = 0; first < runs; first += 2)); do
  pids=()
  for number in "$first" $((first + 1)); do
    ((number < runs)) || continue
    run_one "$number" "${jobs[number % ${#jobs[@]}]}" &
    pids+=($!)
  done
  wait "${pids[@]}"
  failed=0
  for number in "$first" $((first + 1)); do
    ((number < runs)) || continue
    read -r rc took name < "$out/run-$number/rc"
    if ((rc == 0)); then
      passed=$((passed + 1))
      echo "run $((number + 1))/$runs $name: exit 0 (${took} s)"
      rm -rf "$out/run-$number"
    else
      failed=1
      rm -rf "$out/run-$number/capture"   # the frames can be made again; the log and core stay
      how="exit $rc"
      ((rc > 128)) && how+=" (SIG$(kill -l $((rc - 128)) 2>/dev/null))"
      ((rc == 124)) && how+=" (still running after $limit s)"
      echo "run $((number + 1))/$runs $name: $how (${took} s); kept in $out/run-$number"
      explain "$out/run-$number"
    fi
  done
  if ((failed)); then
    echo "stress.sh: stopped at the first failure; $passed of $runs runs passed before it" >&2
    exit 1
  fi
done
elapsed=$((SECONDS - began))
printf 'stress.sh: %d runs, all exit 0, in %d h %02d min %02d s\n' "$runs" $((elapsed / 3600)) $((elapsed % 3600 / 60)) $((elapsed % 60))

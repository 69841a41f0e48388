#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (60 by default), JOBS at a time
# (BREVANTO_FUZZ_JOBS, 2 by default). Fails when any target finds anything.
#
#   fuzz/run.sh [SECONDS] [TARGET...]       e.g.  fuzz/run.sh 1800 read_fpl
#
# Each target starts from its seeds (the project's own test and example files) and from what
# earlier runs found (the corpus in BUILD/corpus/TARGET, kept between runs). A finding is kept
# in BUILD/findings/TARGET/ (crash-*, leak-*, timeout-*, oom-*); run the target on it to see
# it again: BUILD/fuzz/TARGET_fuzz BUILD/findings/TARGET/crash-...  BUILD is build-fuzz, or
# BREVANTO_FUZZ_BUILD.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -gt 0 ] && shift
build=${BREVANTO_FUZZ_BUILD:-build-fuzz}
jobs=${BREVANTO_FUZZ_JOBS:-2}
all=(settings rules evaluation read_fpl registry environment airspace log_version splitters
     text_file)
targets=("${@:-${all[@]}}")

# The targets write each input to a file: a memory-backed folder makes them many times faster.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# Warnings are errors here as in every other build of CI.
CXX=clang++ cmake -S . -B "$build" -DBREVANTO_FUZZ=ON -DBREVANTO_TESTS=OFF -DBREVANTO_WERROR=ON \
  "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/%/_fuzz}"

plans=(tests/data/*.fpl tests/data/golden/p*.fpl
       examples/wine-prefix/drive_c/users/organiser/Documents/Soarix3/FlightPlans/*.fpl)
rules=(examples/DEFAULT_CHECK.fpl tests/data/golden/DEFAULT_CHECK.fpl)
hives=(tests/data/wine-prefix/user.reg examples/wine-prefix/user.reg)
soarix3="examples/wine-prefix/drive_c/Program Files/Soarix3"

# The seeds and the dictionary of a target.
seeds() {
  case $1 in
    settings) printf '%s\n' fuzz/seeds/Brevanto.ini ;;
    rules) printf '%s\n' "${rules[@]}" ;;
    evaluation | read_fpl) printf '%s\n' "${plans[@]}" ;;
    registry | environment) printf '%s\n' "${hives[@]}" ;;
    airspace) printf '%s\n' "$soarix3/Landscapes/Alps/Alps.air" ;;
    log_version) printf '%s\n' "$soarix3/Logs/Logfile.txt" ;;
    splitters) printf '%s\n' "${rules[@]}" fuzz/seeds/Brevanto.ini ;;
    text_file) printf '%s\n' "${rules[@]}" fuzz/seeds/utf8.txt ;;
    *) echo "unknown fuzz target: $1" >&2; return 1 ;;
  esac
}
dictionary() {
  case $1 in
    evaluation | read_fpl) echo fpl ;;
    registry | environment) echo reg ;;
    airspace) echo air ;;
    log_version) echo log ;;
    splitters) echo rules ;;
    text_file) echo text ;;
    *) echo "$1" ;;
  esac
}

run_one() {
  local t=$1 dir
  rm -rf "$build/seeds/$t"
  mkdir -p "$build/seeds/$t" "$build/corpus/$t" "$build/findings/$t" "$build/logs"
  seeds "$t" | while IFS= read -r f; do cp "$f" "$build/seeds/$t/"; done
  dir=$(pwd)
  local status=0
  "$build/fuzz/${t}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
    -dict="$dir/fuzz/dict/$(dictionary "$t").dict" -artifact_prefix="$build/findings/$t/" \
    -print_final_stats=1 "$build/corpus/$t" "$build/seeds/$t" >"$build/logs/$t.log" 2>&1 ||
    status=$?
  echo "$status" >"$build/logs/$t.status"
}

for t in "${targets[@]}"; do seeds "$t" >/dev/null; done
echo "Fuzzing ${targets[*]} for ${seconds} s each, $jobs at a time"
running=0
for t in "${targets[@]}"; do
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait

failed=0
for t in "${targets[@]}"; do
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$t.log" | tail -1)
  found=$(find "$build/findings/$t" -type f | wc -l)
  status=$(cat "$build/logs/$t.status")
  printf '%-12s %12s runs  %s findings  (exit %s, corpus %s inputs)\n' "$t" "${runs:-?}" \
    "$found" "$status" "$(find "$build/corpus/$t" -type f | wc -l)"
  if [ "$status" != 0 ] || [ "$found" != 0 ]; then
    failed=1
    grep -m1 -A30 -E '^==[0-9]+==|runtime error|ERROR: libFuzzer' "$build/logs/$t.log" || true
  fi
done
exit "$failed"

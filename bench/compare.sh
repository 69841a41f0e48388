#!/usr/bin/env bash
# Proves that a change keeps the output: builds the program from COMMIT (default: the commit
# before HEAD) and from the current tree, runs both over the same generated corpus and compares
# the report log (after its date line), the standard output, the standard error and the exit
# status byte for byte. Exits 1 on any difference.
#
#   bench/compare.sh [COMMIT] [PLANS]        PLANS defaults to 10000
#
# Both executables run from the same copy place, so the rules file's path that the program
# writes on standard output is the same for both. Environment: BUILD (the current tree's build
# folder, default build), KEEP=1 keeps the temporary folder.
set -euo pipefail

root=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
commit=$(git -C "$root" rev-parse --verify "${1:-HEAD~1}^{commit}")
plans=${2:-10000}
build=${BUILD:-$root/build}
jobs=$(nproc)

# No "." in the folder: a plan below such a folder would still be checked, but keep paths plain.
tmp=$(mktemp -d /tmp/brevanto-compare-XXXXXX)
cleanup() {
  git -C "$root" worktree remove --force "$tmp/old" 2>/dev/null || true
  if [ "${KEEP:-0}" = 1 ]; then echo "kept $tmp"; else rm -rf "$tmp"; fi
}
trap cleanup EXIT

echo "== building $commit"
git -C "$root" worktree add --quiet --detach "$tmp/old" "$commit"
cmake -S "$tmp/old" -B "$tmp/old-build" -DBREVANTO_TESTS=OFF > "$tmp/old-cmake.txt"
cmake --build "$tmp/old-build" --target Brevanto -j"$jobs" > "$tmp/old-make.txt"

echo "== building the current tree in $build"
cmake -S "$root" -B "$build" > "$tmp/new-cmake.txt"
cmake --build "$build" --target Brevanto -j"$jobs" > "$tmp/new-make.txt"

echo "== generating $plans plans"
python3 "$root/bench/gen_corpus.py" "$tmp/corpus" --plans "$plans"
mkdir "$tmp/bin"
cp "$tmp/corpus/rules/DEFAULT_CHECK.fpl" "$tmp/bin/"

run() {  # run NAME EXECUTABLE
  cp "$2" "$tmp/bin/Brevanto"
  local status=0
  # Plans by file name (the program takes them only as arguments; 10,000 names fit easily).
  (cd "$tmp/corpus/plans" && rm -f Brevanto.log &&
    env -i PATH="$PATH" HOME="$tmp" LC_ALL=C WINEPREFIX="$tmp/corpus/prefix" \
      "$tmp/bin/Brevanto" -nopopup p*.fpl > "$tmp/$1.out" 2> "$tmp/$1.err") || status=$?
  echo "$status" > "$tmp/$1.status"
  # The first line is the date of the run.
  tail -n +2 "$tmp/corpus/plans/Brevanto.log" > "$tmp/$1.log"
  echo "   $1: status $status, $(wc -c < "$tmp/$1.log") bytes of report, $(wc -c < "$tmp/$1.out") bytes of output"
}
echo "== running both"
run old "$tmp/old-build/Brevanto"
run new "$build/Brevanto"

differ=0
for part in log out err status; do
  if cmp -s "$tmp/old.$part" "$tmp/new.$part"; then
    echo "same $part"
  else
    differ=1
    echo "DIFFERENT $part: $(cmp "$tmp/old.$part" "$tmp/new.$part" 2>&1 | head -1)"
    diff "$tmp/old.$part" "$tmp/new.$part" | head -20 || true
  fi
done
if [ "$differ" = 1 ]; then
  echo "== the output changed"
  exit 1
fi
echo "== identical output over $plans plans"

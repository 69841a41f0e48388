#!/usr/bin/env bash
# Compiles every portable unit of the check (the layers of Source/ and checker/; the
# system-specific files of Source/platform/ stay native) with Emscripten's em++, syntax only, with the project's warnings
# as errors. Exits 1 when any unit fails and names it.
#
#   web/check_units.sh
#
# Emscripten's libc++ is older than the native library: this keeps the sources within what both
# have. Debian's emscripten runs its tools with node and needs Debian's acorn module.
set -euo pipefail
cd "$(dirname "$0")/.."

export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
command -v em++ > /dev/null || { echo "em++ not found (Debian's package emscripten)" >&2; exit 1; }

flags=(-std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
       -Wold-style-cast -Werror)
layers=(Source/platform Source/support Source/journal Source/installation Source/flightplan
        checker/rules checker/reports checker/driver)
for layer in "${layers[@]}"; do flags+=(-I"$layer"); done
units=(Source/platform/*_common.cpp)
for layer in "${layers[@]:1}"; do units+=("$layer"/*.cpp); done
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT

# Two at a time: the machine's cores are shared.
printf '%s\n' "${units[@]}" |
  xargs -P2 -I{} sh -c 'log=$1 unit=$2; shift 2
    em++ "$@" "$unit" > "$log/$(echo "$unit" | tr / _).txt" 2>&1 || echo "$unit" >> "$log/failed"' \
    sh "$log" {} "${flags[@]}"

if [ -s "$log/failed" ]; then
  while read -r unit; do
    echo "== $unit"
    cat "$log/$(echo "$unit" | tr / _).txt"
  done < <(sort "$log/failed")
  echo "$(wc -l < "$log/failed") of ${#units[@]} units do not compile with em++" >&2
  exit 1
fi
echo "all ${#units[@]} units compile with em++"

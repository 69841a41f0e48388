#!/usr/bin/env bash
# Builds web/number_probe.cpp with the native compiler and with em++, runs both (the second
# under node) and compares their outputs byte for byte: the browser build must read and write
# every number exactly as the native program does. Exits 1 on any difference.
#
#   web/compare_numbers.sh [SWEEP]        SWEEP random values per sweep, default 1000000
set -euo pipefail
cd "$(dirname "$0")/.."

export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
sweep=${1:-1000000}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sources=(web/number_probe.cpp Source/support/number_read.cpp Source/support/fortran_format.cpp
         Source/support/real_chars.cpp)
flags=(-std=c++20 -O2 -Wall -Wextra -Werror -ISource/support -ISource/platform)
"${CXX:-g++}" "${flags[@]}" "${sources[@]}" -o "$tmp/probe"
# One file, the WebAssembly inside: node then needs no fetch of a .wasm beside it.
em++ "${flags[@]}" -sSINGLE_FILE=1 "${sources[@]}" -o "$tmp/probe.js"

"$tmp/probe" "$sweep" > "$tmp/native.txt"
node "$tmp/probe.js" "$sweep" > "$tmp/wasm.txt"
if ! cmp -s "$tmp/native.txt" "$tmp/wasm.txt"; then
  diff "$tmp/native.txt" "$tmp/wasm.txt" | head -40
  echo "the WebAssembly build differs from the native one" >&2
  exit 1
fi
tail -n 3 "$tmp/native.txt"
echo "same output, $(wc -l < "$tmp/native.txt") lines, native and WebAssembly"

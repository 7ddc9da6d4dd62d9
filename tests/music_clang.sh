#!/usr/bin/env bash
# The music from a second compiler: kelvorin-genmusic built with clang++ in build-clang/ (that
# target alone) must write the kelvorin.wav whose checksum tests/generated_data.sha256 records
# for the g++ build, byte for byte. Anything in the synthesis that C++ leaves to the compiler
# (the order of two calls in one expression, fused multiply-adds, a libm call swapped for
# another) shows here. Exits non-zero, saying why, when it does not.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-clang
started=$SECONDS

fail() {
  echo "tests/music_clang.sh: $*" >&2
  exit 1
}

expected=$(awk '$2 == "kelvorin.wav" { print $1 }' tests/generated_data.sha256)
[ -n "$expected" ] || fail "tests/generated_data.sha256 has no kelvorin.wav line"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ ! -f "$dir/CMakeCache.txt" ]; then
  timeout 300 cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >"$work/log" 2>&1 ||
    { cat "$work/log" >&2; fail "configuring $dir with clang++ failed"; }
fi
timeout 600 cmake --build "$dir" --target kelvorin-genmusic -j"$(nproc)" >"$work/log" 2>&1 ||
  { cat "$work/log" >&2; fail "building kelvorin-genmusic with clang++ in $dir failed"; }
gen=$dir/kelvorin-genmusic
# A folder configured earlier with another compiler would compare g++ with itself.
readelf -p .comment "$gen" | grep -q 'clang version' || fail "$gen was not built by clang++"

mkdir "$work/out"
timeout 120 "$gen" "$work/out" || fail "$gen failed"
actual=$(sha256sum <"$work/out/kelvorin.wav" | cut -d' ' -f1)
if [ "$actual" != "$expected" ]; then
  fail "clang++'s kelvorin-genmusic writes another track than the one recorded (SHA-256 $actual, recorded" \
    "$expected): something in tools/music/ depends on the compiler"
fi
echo "tests/music_clang.sh: clang++'s kelvorin-genmusic writes the recorded kelvorin.wav ($((SECONDS - started)) s)"

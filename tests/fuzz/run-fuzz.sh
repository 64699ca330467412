#!/usr/bin/env bash
# Builds the literal-encoding fuzz target with clang (libFuzzer, AddressSanitizer, UBSan) and
# runs it. Usage: tests/fuzz/run-fuzz.sh OUTPUT_DIR [libFuzzer options...], for example
#   tests/fuzz/run-fuzz.sh build/fuzz -runs=200000
# Separate from the CMake presets so the native preset keeps building with g++.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:?usage: run-fuzz.sh OUTPUT_DIR [libFuzzer options...]}
shift
mkdir -p "$out"
clangxx=${KV_CLANGXX:-clang++}
"$clangxx" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root" -I"$root/tests/recording" \
    "$root/tests/fuzz/literal_fuzzer.cpp" "$root/recording/literal_encoding.cpp" \
    -o "$out/literal_fuzzer"
mkdir -p "$out/corpus"
cd "$out"
exec ./literal_fuzzer -dict="$root/tests/fuzz/literal.dict" -max_len=512 "$@" corpus

#!/usr/bin/env bash
# Builds one libFuzzer target with clang (libFuzzer, AddressSanitizer, UBSan) and runs it on the
# seeds kept in tests/fuzz/corpus/TARGET. Usage:
#   tests/fuzz/run-fuzz.sh TARGET OUTPUT_DIR [libFuzzer options...]
#   tests/fuzz/run-fuzz.sh --list
# for example: tests/fuzz/run-fuzz.sh markup build/fuzz -max_total_time=60
# New inputs go to OUTPUT_DIR/corpus/TARGET and failing ones to OUTPUT_DIR/TARGET-*; the seeds in
# the repository are only read. Separate from the CMake presets so the native preset keeps
# building with g++.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)

targets=(literal markup scenario_lines structure_file)

# What each target is made of: its sources, include folders and the longest input it is given.
describe() {
    case $1 in
    literal)
        sources=(tests/fuzz/literal_fuzzer.cpp text/literal_encoding.cpp)
        includes=(. tests/text)
        max_len=512 ;;
    markup)
        sources=(tests/fuzz/markup_fuzzer.cpp common/markup_reader.cpp common/markup_layout.cpp
                 text/text_case.cpp)
        includes=(. common)
        max_len=2048 ;;
    scenario_lines)
        sources=(tests/fuzz/scenario_lines_fuzzer.cpp execution/scenario_text.cpp)
        includes=(. tests/text)
        max_len=1024 ;;
    structure_file)
        sources=(tests/fuzz/structure_file_fuzzer.cpp standins/kernel/core/*.cpp)
        includes=(. standins/kernel)
        max_len=8192 ;;
    *)
        echo "run-fuzz.sh: unknown target $1 (known: ${targets[*]})" >&2
        exit 2 ;;
    esac
}

if [ "${1:-}" = --list ]; then
    printf '%s\n' "${targets[@]}"
    exit 0
fi
target=${1:?usage: run-fuzz.sh TARGET OUTPUT_DIR [libFuzzer options...]}
out=${2:?usage: run-fuzz.sh TARGET OUTPUT_DIR [libFuzzer options...]}
shift 2
mkdir -p "$out/corpus/$target"
out=$(cd "$out" && pwd)
binary=$out/${target}_fuzzer
cd "$root" # the sources are named from the repository's root
describe "$target"

# Rebuilt when any file in the folders it is made of is newer than the program.
folders=()
for file in "${sources[@]}" "${includes[@]}"; do
    [ "$file" = . ] && continue
    [ -d "$file" ] && folders+=("$file") || folders+=("$(dirname "$file")")
done
if [ ! -x "$binary" ] ||
    [ -n "$(find "${folders[@]}" -maxdepth 1 -type f -newer "$binary" -print -quit)" ]; then
    flags=()
    for folder in "${includes[@]}"; do flags+=("-I$root/$folder"); done
    "${KV_CLANGXX:-clang++}" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined \
        -fno-sanitize-recover=all "${flags[@]}" "${sources[@]}" -o "$binary"
fi

options=(-max_len="$max_len" -artifact_prefix="$out/$target-")
[ -f "$root/tests/fuzz/$target.dict" ] && options+=(-dict="$root/tests/fuzz/$target.dict")
exec "$binary" "${options[@]}" "$@" "$out/corpus/$target" "$root/tests/fuzz/corpus/$target"

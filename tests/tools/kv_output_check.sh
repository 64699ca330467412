#!/usr/bin/env bash
# What a user sees of the Windows programs' text: ./kv host shows the kernel's Russian message in
# the terminal's charset (UTF-8 here); KV_RAW_OUTPUT=1 keeps the Windows-1251 bytes the program
# wrote. The exit code passes through either way. JSON output (kvhost diff --json) keeps its
# UTF-8 bytes while messages are still converted, and relative file names are taken from the
# folder kv was called from. Takes seconds once ./kv build has run.
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/tools/checks.sh
export LC_ALL=C.UTF-8
missing=/nonexistent-$$.ztp
scenario=$(mktemp --suffix=.vbs)
work=$(mktemp -d)
trap 'rm -f "$scenario"; rm -rf "$work"' EXIT
message_utf8=$(printf 'Файл не найден')
message_1251=$(printf '%s' "$message_utf8" | iconv -f UTF-8 -t CP1251)

shown=$(./kv host record --model "$missing" -o "$scenario" 2>&1)
status=$?
check "a missing structure file fails with exit code 1" [ $status = 1 ]
check "the kernel's message is shown in UTF-8" grep -qF -- "$message_utf8" <<<"$shown"

raw=$(KV_RAW_OUTPUT=1 ./kv host record --model "$missing" -o "$scenario" 2>&1)
status=$?
check "with KV_RAW_OUTPUT=1 the exit code is still 1" [ $status = 1 ]
check "with KV_RAW_OUTPUT=1 the message keeps its Windows-1251 bytes" \
    env LC_ALL=C grep -qF -- "$message_1251" <<<"$raw"
check "with KV_RAW_OUTPUT=1 nothing is converted" bash -c '! grep -qF -- "$1" <<<"$2"' _ \
    "$message_utf8" "$raw"

root=$PWD
cp tests/kernel_failures/structures/small.ztp "$work/current.ztp"
json=$(cd "$work" && "$root/kv" host diff current.ztp current.ztp --json 2>/dev/null)
status=$?
check "diff --json of a structure with itself exits with 0, from relative names" [ $status = 0 ]
check "diff --json writes a JSON document" python3 -c 'import json, sys; json.loads(sys.argv[1])' \
    "$json"
shown=$(cd "$work" && "$root/kv" host diff current.ztp "$missing" --json 2>&1 >/dev/null)
status=$?
check "diff --json with a missing target exits with 2" [ $status = 2 ]
check "diff --json still shows the kernel's message in UTF-8" grep -qF -- "$message_utf8" \
    <<<"$shown"
(cd "$work" && "$root/kv" host diff current.ztp current.ztp -o new.vbs >/dev/null 2>&1)
check "-o names a new file in the folder kv was called from" [ -s "$work/new.vbs" ]
checks_done

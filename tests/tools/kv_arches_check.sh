#!/usr/bin/env bash
# ./kv on a machine taken to be unable to run 32-bit programs (KV_ASSUME_NO_WIN32=1): set-up and
# the tests report win32 as not run with the reason, the 64-bit suite runs (a small part of it),
# and the commands that run one program choose win64 and say so first. Needs a machine whose
# 64-bit Wine runs; takes seconds once ./kv build has run.
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/tools/checks.sh
export KV_ASSUME_NO_WIN32=1
unset KV_ARCH
why="32-bit x86 programs are taken as unable to run here (KV_ASSUME_NO_WIN32=1)"
reason="win32: not run: $why"
holds_line() { grep -qxF -- "$2" <<<"$1"; }
first_line() { [ "$(head -n 1 <<<"$1")" = "$2" ]; }

out=$(./kv setup 2>&1)
check "setup names win32 as not run, with the reason" holds_line "$out" "[kv] $reason"

out=$(./kv test -R '^WindowBarrier\.' 2>&1)
status=$?
check "the tests pass" [ $status = 0 ]
summary=$(sed -n '/^\[kv\] suites:$/,$p' <<<"$out")
check "the summary names win32 as not run, with the reason" holds_line "$summary" "$reason"
ctest_line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+$' <<<"$out" | tail -n 1)
check "the summary repeats CTest's line of the win64 suite" \
    holds_line "$summary" "win64: ${ctest_line:-(no CTest line)}"

err=$(./kv host --help 2>&1 >/dev/null)
check "host names the win64 build on its first line of standard error" \
    first_line "$err" "[kv] using the win64 build (win32: $why)"

err=$(KV_ARCH=win32 ./kv host --help 2>&1 >/dev/null)
status=$?
check "KV_ARCH=win32 is refused with the reason" first_line "$err" \
    "[kv] KV_ARCH=win32: cannot run here: $why"
check "KV_ARCH=win32 fails" [ $status != 0 ]

err=$(KV_ARCH=win16 ./kv host --help 2>&1 >/dev/null)
check "an unknown KV_ARCH is refused" first_line "$err" \
    "[kv] KV_ARCH=win16: no such architecture (win32 or win64)"

checks_done

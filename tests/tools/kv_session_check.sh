#!/usr/bin/env bash
# Two kv commands in one prefix at the same time: the one that ends first leaves the other's
# program running (no command ends a wineserver that another still uses), and the last to end
# stops the session's wineserver and display. Takes seconds once ./kv build has run.
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/tools/checks.sh
# The session does not depend on the architecture: win64, which runs on every machine.
export KV_ARCH=win64
source tools/wine-env.sh
users=$WINEPREFIX/.kv-users
out=$(mktemp)
trap 'rm -f "$out"' EXIT
session_users() { find "$users" -type f 2>/dev/null | wc -l; }

./kv wine cmd /c "ping -n 30 127.0.0.1 >nul & echo long program done" >"$out" 2>&1 &
long=$!
for _ in $(seq 600); do
    [ "$(session_users)" -gt 0 ] && break
    sleep 0.1
done
check "the long program's command is in the session" [ "$(session_users)" -gt 0 ]

./kv host --help >/dev/null 2>&1
check "a second command ran and ended while the first was running" [ $? = 0 ]
check "the first command is still running" kill -0 $long

wait $long
status=$?
check "the long program ended on its own with exit code 0" [ $status = 0 ]
check "the long program wrote its last line" grep -q "long program done" "$out"
check "the last command to end left no one in the session" [ "$(session_users)" = 0 ]
check "the last command to end stopped the session" [ ! -e "$WINEPREFIX/.kv-session" ]

[ $failures = 0 ] || cat "$out"
checks_done

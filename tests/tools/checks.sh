# Shared by the shell checks of tests/tools: `check DESCRIPTION CONDITION...` prints ok or FAIL
# for each condition, and `checks_done` ends the check with the count of failures.
failures=0

check() {
    local description=$1
    shift
    if "$@"; then
        echo "ok: $description"
    else
        echo "FAIL: $description"
        failures=$((failures + 1))
    fi
}

checks_done() {
    [ $failures = 0 ] || { echo "$failures check(s) failed"; exit 1; }
    echo "every check passed"
}

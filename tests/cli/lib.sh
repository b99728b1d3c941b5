# What the command-line tests share: sourced with the program's path as its argument, it
# gives a work folder of their own, "fail" to count a failure, "status" to check an exit
# status and "finish" to end with the count.
set -uo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TZ=America/New_York

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# status EXPECTED ARGS...: the exit status of the command; its stderr is kept in
# "$work/err". Bad arguments (status 2) are told in one line.
status() {
    local expected=$1
    shift
    "$cli" "$@" > /dev/null 2> "$work/err"
    local got=$?
    [ "$got" -eq "$expected" ] || fail "status $got, not $expected: $* ($(cat "$work/err"))"
    if [ "$expected" -eq 2 ] && [ "$(wc -l < "$work/err")" -ne 1 ]; then
        fail "not a one-line error: $* -> $(cat "$work/err")"
    fi
}

# finish TEXT: exits with the failures counted, or says TEXT when there were none.
finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures failure(s)"
        exit 1
    fi
    echo "$1"
}

#!/bin/sh
# Wrong arguments get a message on stderr and a failing status, never a window
# (which would hang here).  usage: cli.sh LUMARIS DATA_DIR
bin=$1
data=$2
err=$(mktemp)
failed=0
expect() { # status, stderr pattern, arguments...
    want=$1 pattern=$2
    shift 2
    "$bin" "$@" >/dev/null 2>"$err"
    got=$?
    if [ "$got" -ne "$want" ] || ! grep -q "$pattern" "$err"; then
        echo "lumaris $*: status $got, stderr: $(cat "$err")"
        failed=1
    fi
}
expect 2 '^usage: lumaris'
expect 2 '^usage: lumaris' one two
expect 1 'no such file' "$data/missing.slp"
expect 1 'not a readable file' "$data"
for n in 0 13 -1 2147483647 abc; do
    expect 2 'no built-in template' --template "$n"
done
rm -f "$err"
exit $failed

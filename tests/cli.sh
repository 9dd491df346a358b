#!/bin/sh
# Wrong arguments, refused folders, full disks, signals.  usage: cli.sh LUMARIS DATA_DIR
bin=$1 data=$2 work=$(mktemp -d) failed=0 && err=$work/err
fail() { echo "$*; stderr: $(cat "$err")" && failed=1; }
expect() { # status, stderr pattern, arguments...
    want=$1 pattern=$2 && shift 2
    timeout 20 "$bin" "$@" >/dev/null 2>"$err"; got=$?
    [ "$got" -eq "$want" ] && grep -q "$pattern" "$err" || fail "lumaris $*: status $got"
}
expect 2 '^usage: lumaris' one two
expect 2 '^usage: lumaris' --help
expect 1 'no such file' "$data/missing.slp"
expect 1 'not a readable file' "$data"
for n in 0 13 abc; do expect 2 'no built-in template' --template "$n"; done

unset XDG_RUNTIME_DIR
export LC_ALL=C uid=$(id -u)
mkdir "$work/tmp" "$work/blocked" "$work/elsewhere" && mkdir -m 700 "$work/run"
ln -s "$work/elsewhere" "$work/blocked/lumaris-$uid"

# A signal acts as Close (no copy left, 128 + signal); copies in TMPDIR, runtime, a run's own.
# The first and the last template preview.
for row in "TERM 143 $work/tmp $work/tmp/lumaris-$uid --template 1" \
    "INT 130 $work/tmp $work/run/lumaris $data/numbers.slp" \
    "HUP 129 $work/blocked $work/blocked/lumaris-$uid-* --template 12"; do
    set -- $row
    sig=$1 want=$2 tmp=$3 folder=$4 && shift 4
    [ "$sig" = INT ] && run=$work/run || run=
    XDG_RUNTIME_DIR=$run TMPDIR=$tmp timeout -s KILL 20 "$bin" "$@" >/dev/null 2>"$err" &
    pid=$! i=0
    until ls $folder/lumaris-*.tmp >/dev/null 2>&1 || [ $((i += 1)) -gt 150 ]; do sleep 0.1; done
    ls $folder/lumaris-*.tmp >/dev/null 2>&1 || fail "$sig: no temporary copy in $folder"
    kill -s "$sig" $pid; wait $pid; got=$?
    [ "$got" -eq "$want" ] || fail "$sig: status $got"
    ! ls $folder/lumaris-*.tmp >/dev/null 2>&1 || fail "$sig: temporary copy left behind"
done
grep -q "lumaris-$uid: it is a symbolic link; using" "$err" || fail "blocked folder not said"
! ls -d "$work/blocked/lumaris-$uid"-* >/dev/null 2>&1 || fail "run folder left behind"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "written through the planted link"

# A signal that comes while the run waits for the template's lock, before any window.
private=$work/tmp/lumaris-$uid
exec 9>"$private/tmp.lock" && flock 9
TMPDIR=$work/tmp timeout -s KILL 20 "$bin" --template 11 >/dev/null 2>"$err" 9>&- &
pid=$! i=0
until ls -l /proc/"$(pgrep -P $pid)"/fd 2>/dev/null | grep -q tmp.lock ||
    [ $((i += 1)) -gt 150 ]; do sleep 0.1; done
kill -s TERM $pid; sleep 0.2; exec 9>&-; wait $pid; got=$?
[ "$got" -eq 143 ] && ! ls "$private"/lumaris-*.tmp >/dev/null 2>&1 || fail "TERM, lock: $got"

# A full disk stops the run before any window: no earlier template, no half file; the
# file name is taken as its bytes (code page 1256).
before=$(cksum <"$private/tmp.slp")
name=$work/$(printf '\307\355\317\307\332').slp
cp "$private/tmp.slp" "$name"
for row in "template 3: $private/tmp.slp|--template 3" "cannot write $private/lumaris-.*\.tmp|$name"; do
    (ulimit -f 1 && trap '' XFSZ && TMPDIR=$work/tmp exec timeout 20 "$bin" ${row#*|}) \
        >/dev/null 2>"$err"
    got=$?
    [ "$got" -eq 1 ] && grep -q "${row%|*}: File too large" "$err" || fail "full disk, $row: $got"
done
[ "$(cksum <"$private/tmp.slp")" = "$before" ] || fail "tmp.slp changed"
[ "$(ls "$private")" = "$(printf 'tmp.lock\ntmp.slp')" ] || fail "left in $private: $(ls "$private")"
for d in tmp blocked; do # Qt's runtime files too stay in the private folder
    [ "$(ls -A "$work/$d")" = "lumaris-$uid" ] || fail "written in $d: $(ls -A "$work/$d")"
done
rm -rf "$work"
exit $failed

#!/bin/sh
# Runs the window tests matching FILTER under a private Xvfb and openbox, which
# keeps a 40-pixel strip at the bottom as a panel would.  usage: wm.sh TEST_BINARY FILTER
set -u
[ $# -eq 2 ] || { echo "usage: $0 TEST_BINARY FILTER" >&2; exit 2; }
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
printf '%s\n' '<openbox_config xmlns="http://openbox.org/3.4/rc">' \
    '<margins><top>0</top><bottom>40</bottom><left>0</left><right>0</right></margins>' \
    '</openbox_config>' >"$dir/rc.xml"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    openbox --config-file "$3/rc.xml" >"$3/openbox.log" 2>&1 &
    wm=$!
    for i in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        [ $i -eq 100 ] && { echo "openbox did not start:" >&2; cat "$3/openbox.log" >&2; kill $wm; exit 1; }
        sleep 0.1
    done
    QT_QPA_PLATFORM=xcb "$1" --gtest_filter="$2" --gtest_also_run_disabled_tests
    status=$?
    kill $wm
    wait $wm
    exit $status' wm "$1" "$2" "$dir"

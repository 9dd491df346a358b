#!/usr/bin/env bash
# A private CUPS scheduler for the printing tests: its own configuration,
# spool and logs under one folder, listening only on its own domain socket, with
# two cups-pdf queues, "SlipPDF" (the default) and "Slip2". The machine's own
# scheduler and printers are never touched.
#
#   eval "$(bash scripts/cups-env.sh start)"   # exports CUPS_SERVER, LUMARIS_PDF_DIR
#   bash scripts/cups-env.sh stop
#
# stdout carries only shell lines meant for eval; everything else goes to
# stderr. cups-pdf needs root (its backend runs only as root).

set -u

ROOT="${LUMARIS_CUPS_ROOT:-${TMPDIR:-/tmp}/lumaris-cups-$(id -u)}"
CONF="$ROOT/etc"
SOCK="$ROOT/cups.sock"
PIDFILE="$ROOT/cupsd.pid"
PDF_DIR="$ROOT/pdf"
QUEUES=(SlipPDF Slip2)
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
CUPSD=/usr/sbin/cupsd

say() { echo "cups-env: $*" >&2; }
die() {
    say "$*"
    exit 1
}

# Refuse a folder someone else could have planted (a symlink or not ours).
check_root_dir() {
    if [ -L "$ROOT" ]; then
        die "$ROOT is a symlink; refusing to use it"
    fi
    if [ -e "$ROOT" ] && [ "$(stat -c %u "$ROOT")" != "$(id -u)" ]; then
        die "$ROOT belongs to another user; refusing to use it"
    fi
}

# Pids of schedulers started with our configuration: the recorded one and any
# left over from a run whose pid file was lost.
our_cupsd_pids() {
    local pid cmd
    if [ -f "$PIDFILE" ]; then
        pid="$(cat "$PIDFILE" 2>/dev/null)"
        case "$pid" in '' | *[!0-9]*) ;; *) [ -d "/proc/$pid" ] && echo "$pid" ;; esac
    fi
    for cmd in /proc/[0-9]*/cmdline; do
        pid="${cmd#/proc/}"
        pid="${pid%/cmdline}"
        if tr '\0' ' ' <"$cmd" 2>/dev/null | grep -qF -- "cupsd -f -c $CONF/cupsd.conf"; then
            echo "$pid"
        fi
    done | sort -u
}

stop_cupsd() {
    local pids pid i
    pids="$(our_cupsd_pids)"
    for pid in $pids; do
        kill -TERM "$pid" 2>/dev/null
    done
    for pid in $pids; do
        for ((i = 0; i < 50; i++)); do
            [ -d "/proc/$pid" ] || break
            sleep 0.1
        done
        if [ -d "/proc/$pid" ]; then
            say "scheduler $pid did not stop; killing it"
            kill -KILL "$pid" 2>/dev/null
        fi
    done
    rm -f "$PIDFILE" "$SOCK"
}

write_config() {
    mkdir -p "$CONF/ppd" "$ROOT/spool/tmp" "$ROOT/cache" "$ROOT/state" "$ROOT/log" "$PDF_DIR" ||
        die "cannot create $ROOT"
    # Filters run as lp and must reach the spool through these folders.
    chmod 0755 "$ROOT" "$CONF" "$ROOT/cache" "$ROOT/state" "$ROOT/log"
    chmod 0777 "$PDF_DIR"
    # A fresh set of queues every start: no job or printer from an earlier run.
    rm -f "$CONF/printers.conf" "$CONF/printers.conf.O" "$CONF/classes.conf" "$CONF"/ppd/*.ppd
    rm -rf "$ROOT/spool"/c* "$ROOT/spool"/d* "$ROOT/cache"/* "$ROOT/log"/*

    cat >"$CONF/cupsd.conf" <<EOF
Listen $SOCK
LogLevel warn
MaxLogSize 0
WebInterface No
Browsing No
BrowseLocalProtocols none
DefaultShared No
DefaultAuthType None
PreserveJobHistory No
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
    cat >"$CONF/cups-files.conf" <<EOF
ServerRoot $CONF
RequestRoot $ROOT/spool
TempDir $ROOT/spool/tmp
CacheDir $ROOT/cache
StateDir $ROOT/state
AccessLog $ROOT/log/access_log
ErrorLog $ROOT/log/error_log
PageLog $ROOT/log/page_log
Printcap $ROOT/printcap
SystemGroup root
EOF
}

write_cups_pdf_config() {
    local q
    for q in "${QUEUES[@]}"; do
        mkdir -p "$PDF_DIR/$q" && chmod 0777 "$PDF_DIR/$q"
        rm -f "$PDF_DIR/$q"/*.pdf
        cat >"/etc/cups/cups-pdf-$q.conf" <<EOF
Out $PDF_DIR/$q
AnonDirName $PDF_DIR/$q
Log $ROOT/log
Grp root
DecodeHexStrings 1
EOF
    done
}

wait_until_answering() {
    local i
    for ((i = 0; i < 100; i++)); do
        if CUPS_SERVER="$SOCK" lpstat -r 2>/dev/null | grep -q "is running"; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

start() {
    [ -x "$CUPSD" ] || die "$CUPSD is not installed (package cups-daemon)"
    [ -f "$PPD" ] || die "$PPD is missing (package printer-driver-cups-pdf)"
    [ "$(id -u)" = 0 ] || say "warning: not root; the cups-pdf backend will not run"
    check_root_dir
    mkdir -p "$ROOT" || die "cannot create $ROOT"
    check_root_dir
    stop_cupsd
    write_config
    write_cups_pdf_config

    setsid "$CUPSD" -f -c "$CONF/cupsd.conf" -s "$CONF/cups-files.conf" \
        </dev/null >>"$ROOT/log/cupsd.out" 2>&1 &
    echo $! >"$PIDFILE"
    if ! wait_until_answering; then
        say "the scheduler did not answer within 10 s; see $ROOT/log/error_log"
        tail -n 20 "$ROOT/log/error_log" "$ROOT/log/cupsd.out" >&2 2>/dev/null
        stop_cupsd
        exit 1
    fi

    # lpadmin warns that PPD drivers are deprecated on every call; show its
    # words only when it fails.
    local q msg
    for q in "${QUEUES[@]}"; do
        # pdftocairo keeps the text of the PDF readable (pdftotext).
        msg="$(CUPS_SERVER="$SOCK" lpadmin -p "$q" -E -v "cups-pdf:/$q" -P "$PPD" \
            -o pdftops-renderer-default=pdftocairo -o printer-error-policy=abort-job 2>&1)" ||
            die "lpadmin could not create queue $q: $msg"
    done
    msg="$(CUPS_SERVER="$SOCK" lpadmin -d SlipPDF 2>&1)" ||
        die "lpadmin could not make SlipPDF the default: $msg"

    # A user's own default (lpoptions, LPDEST, PRINTER) would override ours.
    echo "unset LPDEST PRINTER;"
    printf 'export CUPS_SERVER=%q;\n' "$SOCK"
    printf 'export LUMARIS_PDF_DIR=%q;\n' "$PDF_DIR"
    say "scheduler running on $SOCK; PDFs in $PDF_DIR/{SlipPDF,Slip2}"
}

stop() {
    check_root_dir
    stop_cupsd
    local q
    for q in "${QUEUES[@]}"; do
        rm -f "/etc/cups/cups-pdf-$q.conf"
    done
    say "scheduler stopped"
}

case "${1:-}" in
start) start ;;
stop) stop ;;
*) die "usage: $0 start|stop" ;;
esac

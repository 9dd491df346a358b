#!/usr/bin/env bash
# A private CUPS scheduler for the printing tests: its own configuration,
# spool and logs in one folder, listening only on its own domain socket, with
# two cups-pdf queues, "SlipPDF" (the default) and "Slip2". The machine's own
# scheduler and printers are never touched.
#
#   eval "$(bash scripts/cups-env.sh start)"   # exports CUPS_SERVER, LUMARIS_PDF_DIR
#   bash scripts/cups-env.sh stop               # stops the one CUPS_SERVER names
#
# Every start makes a new instance, so that two test runs side by side do not
# stop each other's scheduler; a start in a shell that already has one stops
# that one first, and clears away instances whose scheduler has died. stdout
# carries only shell lines meant for eval; everything else goes to stderr.
# cups-pdf needs root (its backend runs only as root).

set -u

BASE="${TMPDIR:-/tmp}"
PREFIX="lumaris-cups."
MARKER=".lumaris-cups"
QUEUES=(SlipPDF Slip2)
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
CUPSD=/usr/sbin/cupsd

say() { echo "cups-env: $*" >&2; }
die() {
    say "$*"
    exit 1
}

# A folder of ours: a real folder (no symlink), owned by us, with the marker.
is_instance() {
    local dir="$1"
    [ -n "$dir" ] && [ -d "$dir" ] && [ ! -L "$dir" ] && [ -f "$dir/$MARKER" ] &&
        [ "$(stat -c %u "$dir")" = "$(id -u)" ]
}

# The instance this shell uses, from the variables that start exported.
current_instance() {
    local dir=""
    if [ -n "${LUMARIS_CUPS_ROOT:-}" ]; then
        dir="$LUMARIS_CUPS_ROOT"
    elif [ -n "${CUPS_SERVER:-}" ] && [ "${CUPS_SERVER#/}" != "$CUPS_SERVER" ]; then
        dir="$(dirname "$CUPS_SERVER")"
    fi
    is_instance "$dir" && echo "$dir"
}

cupsd_pid() {
    local dir="$1" pid
    pid="$(cat "$dir/cupsd.pid" 2>/dev/null)"
    case "$pid" in '' | *[!0-9]*) return 1 ;; esac
    # Only our scheduler: the pid may have been reused since.
    tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -qF -- "-c $dir/etc/cupsd.conf" || return 1
    echo "$pid"
}

# Stops an instance's scheduler and removes the instance with its PDFs.
remove_instance() {
    local dir="$1" pid i q
    if pid="$(cupsd_pid "$dir")"; then
        kill -TERM "$pid" 2>/dev/null
        for ((i = 0; i < 50; i++)); do
            [ -d "/proc/$pid" ] || break
            sleep 0.1
        done
        if [ -d "/proc/$pid" ]; then
            say "scheduler $pid did not stop; killing it"
            kill -KILL "$pid" 2>/dev/null
        fi
    fi
    for q in "${QUEUES[@]}"; do
        rm -f "/etc/cups/cups-pdf-$q-$(cat "$dir/$MARKER").conf"
    done
    rm -rf "$dir"
}

# Instances left behind by runs that ended without stopping them.
collect_dead_instances() {
    local dir
    for dir in "$BASE/$PREFIX"*; do
        is_instance "$dir" || continue
        cupsd_pid "$dir" >/dev/null && continue
        say "removing the dead instance $dir"
        remove_instance "$dir"
    done
}

write_config() {
    local root="$1" id="$2" q
    mkdir -p "$root/etc/ppd" "$root/spool/tmp" "$root/cache" "$root/state" "$root/log" \
        "$root/pdf" || die "cannot create $root"
    # Filters run as lp and must reach the spool through these folders.
    chmod 0755 "$root" "$root/etc" "$root/cache" "$root/state" "$root/log"
    chmod 0777 "$root/pdf"

    cat >"$root/etc/cupsd.conf" <<EOF
Listen $root/cups.sock
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
    cat >"$root/etc/cups-files.conf" <<EOF
ServerRoot $root/etc
RequestRoot $root/spool
TempDir $root/spool/tmp
CacheDir $root/cache
StateDir $root/state
AccessLog $root/log/access_log
ErrorLog $root/log/error_log
PageLog $root/log/page_log
Printcap $root/printcap
SystemGroup root
EOF
    # cups-pdf reads /etc/cups/cups-pdf-<device name>.conf: one per queue and
    # instance, each writing to its own folder.
    for q in "${QUEUES[@]}"; do
        mkdir -p "$root/pdf/$q" && chmod 0777 "$root/pdf/$q"
        cat >"/etc/cups/cups-pdf-$q-$id.conf" <<EOF || die "cannot write /etc/cups/cups-pdf-$q-$id.conf"
Out $root/pdf/$q
AnonDirName $root/pdf/$q
Log $root/log
Grp root
DecodeHexStrings 1
EOF
    done
}

wait_until_answering() {
    local sock="$1" i
    for ((i = 0; i < 100; i++)); do
        if CUPS_SERVER="$sock" lpstat -r 2>/dev/null | grep -q "is running"; then
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

    local old
    if old="$(current_instance)"; then
        say "stopping the scheduler this shell started before ($old)"
        remove_instance "$old"
    fi
    collect_dead_instances

    local root id sock q msg
    root="$(mktemp -d "$BASE/${PREFIX}XXXXXX")" || die "cannot create a folder in $BASE"
    id="${root##*.}"
    echo "$id" >"$root/$MARKER"
    sock="$root/cups.sock"
    write_config "$root" "$id"

    setsid "$CUPSD" -f -c "$root/etc/cupsd.conf" -s "$root/etc/cups-files.conf" \
        </dev/null >>"$root/log/cupsd.out" 2>&1 &
    echo $! >"$root/cupsd.pid"
    if ! wait_until_answering "$sock"; then
        say "the scheduler did not answer within 10 s:"
        tail -n 20 "$root/log/error_log" "$root/log/cupsd.out" >&2 2>/dev/null
        remove_instance "$root"
        exit 1
    fi

    # lpadmin warns that PPD drivers are deprecated on every call; show its
    # words only when it fails.
    for q in "${QUEUES[@]}"; do
        # pdftocairo keeps the text of the PDF readable (pdftotext).
        if ! msg="$(CUPS_SERVER="$sock" lpadmin -p "$q" -E -v "cups-pdf:/$q-$id" -P "$PPD" \
            -o pdftops-renderer-default=pdftocairo -o printer-error-policy=abort-job 2>&1)"; then
            remove_instance "$root"
            die "lpadmin could not create queue $q: $msg"
        fi
    done
    if ! msg="$(CUPS_SERVER="$sock" lpadmin -d SlipPDF 2>&1)"; then
        remove_instance "$root"
        die "lpadmin could not make SlipPDF the default: $msg"
    fi

    # A user's own default (LPDEST, PRINTER) would override ours.
    echo "unset LPDEST PRINTER LUMARIS_CUPS_ROOT;"
    printf 'export CUPS_SERVER=%q;\n' "$sock"
    printf 'export LUMARIS_PDF_DIR=%q;\n' "$root/pdf"
    say "scheduler running on $sock; PDFs in $root/pdf/{SlipPDF,Slip2}"
}

stop() {
    local dir
    if ! dir="$(current_instance)"; then
        collect_dead_instances
        die "CUPS_SERVER names no scheduler of ours (${CUPS_SERVER:-unset}); nothing stopped"
    fi
    remove_instance "$dir"
    say "scheduler stopped"
}

case "${1:-}" in
start) start ;;
stop) stop ;;
*) die "usage: $0 start|stop" ;;
esac

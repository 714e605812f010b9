#!/usr/bin/env bash
# Runs a command against a private CUPS server with one PDF print queue, and
# stops the server afterwards, whatever the command does. The machine's own
# CUPS setup (its cupsd, /etc/cups, the default printer, /var/spool) is
# neither used nor changed.
#
#   with_cups.sh [--no-default] [--keep] COMMAND [ARGS...]
#
#   --no-default  the queue exists but is not the default printer
#   --keep        keep the server's directory (logs, PDFs) for inspection
#
# The command sees:
#   CUPS_SERVER      the server's Unix socket (libcups, and so Qt, use it)
#   CUPS_SERVERROOT  an empty client configuration, so that the machine's
#                    /etc/cups/client.conf and lpoptions do not interfere
#   ZUNO_CUPS_QUEUE  the queue's name
#   ZUNO_PDF_DIR     the directory where the queue writes its PDF files, one
#                    per job, named job_<id>-<title>.pdf
#   ZUNO_CUPS_LOG_DIR  the server's and cups-pdf's logs
#
# How it works
# - cupsd runs in the foreground with its own cupsd.conf and cups-files.conf
#   in a temporary directory: ServerRoot, spool, cache, state, printcap and
#   logs all live there. It listens only on a Unix socket in a directory
#   that only the caller can enter, and its policy needs no authentication.
# - The queue prints through Debian's cups-pdf backend
#   (printer-driver-cups-pdf). cups-pdf takes its settings from
#   /etc/cups/cups-pdf.conf, then from the defaults of the queue's PPD; its
#   output directory would be ~/PDF of the job's user. The server gets its
#   own ServerBin: links to /usr/lib/cups, except that its cups-pdf backend is
#   a small wrapper that changes into the temporary directory and runs the
#   real backend. The queue's PPD (a copy of the package's) sets the output,
#   spool and log directories to names relative to that directory, so the
#   PDF files land in $ZUNO_PDF_DIR and the machine's configuration file
#   stays as it is. (PPD values cannot hold a "/", which is why the names
#   are relative.)
# - cups-pdf runs only as root (Debian installs it with mode 0700, and cupsd
#   runs such a backend as root), so the server must be started by root, as
#   it is in CI. For anyone else the command is not run and the script exits
#   with 77, which CTest reports as skipped.
#
# Exit status: that of the command (124 when it overran ZUNO_CUPS_TIMEOUT,
# 200 seconds by default); 77 when a private server cannot be had.
set -u

no_default=0
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --no-default) no_default=1; shift ;;
    --keep) keep=1; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--no-default] [--keep] COMMAND [ARGS...]" >&2; exit 2; }

skip() { echo "with_cups.sh: SKIPPED: $*" >&2; exit 77; }

[ "$(id -u)" -eq 0 ] || skip "the cups-pdf backend runs only under a cupsd started by root"
cupsd_bin=$(command -v cupsd || echo /usr/sbin/cupsd)
[ -x "$cupsd_bin" ] || skip "cupsd is not installed (scripts/deps installs cups)"
serverbin=/usr/lib/cups
backend="$serverbin/backend/cups-pdf"
[ -x "$backend" ] || skip "the cups-pdf backend is not installed (printer-driver-cups-pdf)"
ppd_source=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -r "$ppd_source" ] || skip "$ppd_source is missing (printer-driver-cups-pdf)"
command -v lpadmin >/dev/null || skip "lpadmin is not installed (cups-client)"
command -v lpstat >/dev/null || skip "lpstat is not installed (cups-client)"

root=$(mktemp -d "${TMPDIR:-/tmp}/zuno-cups.XXXXXX") || exit 1
queue=ZUNOPDF
cupsd_pid=""

cleanup() {
  if [ -n "$cupsd_pid" ]; then
    kill -TERM "$cupsd_pid" 2>/dev/null
    for _ in $(seq 1 50); do kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$cupsd_pid" 2>/dev/null
    wait "$cupsd_pid" 2>/dev/null
  fi
  if [ "$keep" -eq 1 ]; then
    echo "with_cups.sh: kept $root" >&2
  else
    rm -rf "$root"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# The filters run as lp and must reach the PPD, the spool and the backend;
# the socket's directory stays private to the caller.
chmod 0755 "$root"
mkdir -p "$root/conf/ppd" "$root/conf/ssl" "$root/spool/tmp" "$root/cache" "$root/state" \
         "$root/log" "$root/work/pdf" "$root/work/pdfspool" "$root/work/log" \
         "$root/client" "$root/sock" "$root/bin/backend"
chmod 0700 "$root/sock"
chmod 1777 "$root/spool/tmp"
chmod 0777 "$root/work/pdf"
socket="$root/sock/cups.sock"

# Private ServerBin: the system's filters, daemons and backends, with cups-pdf
# started in $root/work.
for entry in "$serverbin"/*; do
  [ "$(basename "$entry")" = backend ] || ln -s "$entry" "$root/bin/"
done
for entry in "$serverbin"/backend/*; do
  [ "$(basename "$entry")" = cups-pdf ] || ln -s "$entry" "$root/bin/backend/"
done
cat >"$root/bin/backend/cups-pdf" <<WRAPPER
#!/bin/sh
cd "$root/work" || exit 1
exec "$backend" "\$@"
WRAPPER
chmod 0700 "$root/bin/backend/cups-pdf"

cat >"$root/conf/cups-files.conf" <<CONF
ServerRoot $root/conf
ServerBin $root/bin
RequestRoot $root/spool
TempDir $root/spool/tmp
CacheDir $root/cache
StateDir $root/state
Printcap $root/state/printcap
AccessLog $root/log/access_log
ErrorLog $root/log/error_log
PageLog $root/log/page_log
User lp
Group lp
SystemGroup root
FileDevice No
CONF

cat >"$root/conf/cupsd.conf" <<CONF
Listen $socket
LogLevel info
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
JobRetryLimit 0
ErrorPolicy abort-job
MaxJobs 0
PreserveJobHistory Yes
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

# The package's PPD, with cups-pdf's directories relative to $root/work, the
# job id before the title in each file name (jobs never overwrite each other)
# and cups-pdf's files in the lp group.
ppd="$root/ZUNOPDF.ppd"
{
  sed -e '/^\*CloseGroup: General/,$d' "$ppd_source" \
    | sed -e 's/^\*DefaultLabel: .*/*DefaultLabel: 1/'
  for option in Out:pdf Spool:pdfspool Log:log Grp:lp; do
    key=${option%%:*} value=${option#*:}
    printf '*OpenUI *%s/%s: PickOne\n*Default%s: %s\n*%s %s/%s: ""\n*CloseUI: *%s\n' \
      "$key" "$key" "$key" "$value" "$key" "$value" "$value" "$key"
  done
  sed -n -e '/^\*CloseGroup: General/,$p' "$ppd_source"
} >"$ppd"

"$cupsd_bin" -f -c "$root/conf/cupsd.conf" -s "$root/conf/cups-files.conf" \
  >"$root/log/cupsd.out" 2>&1 &
cupsd_pid=$!

export CUPS_SERVER="$socket"
ready=0
for _ in $(seq 1 100); do
  kill -0 "$cupsd_pid" 2>/dev/null || break
  if [ -S "$socket" ] && lpstat -r >/dev/null 2>&1; then ready=1; break; fi
  sleep 0.1
done
if [ "$ready" -ne 1 ]; then
  echo "with_cups.sh: the private cupsd did not start:" >&2
  cat "$root/log/cupsd.out" "$root/log/error_log" >&2 2>/dev/null
  exit 1
fi

# Jobs reach cups-pdf as PostScript. The pdftocairo renderer keeps the fonts
# as fonts (Ghostscript's, the default, turns them into bitmaps whose text
# cannot be read back), so the PDF files can be checked with pdftotext.
if ! lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd" -D "ZUNOPad test PDF printer" \
     -o pdftops-renderer-default=pdftocairo >"$root/log/lpadmin.out" 2>&1; then
  echo "with_cups.sh: could not create the queue:" >&2
  cat "$root/log/lpadmin.out" "$root/log/error_log" >&2 2>/dev/null
  exit 1
fi
if [ "$no_default" -eq 0 ] && ! lpadmin -d "$queue" >>"$root/log/lpadmin.out" 2>&1; then
  echo "with_cups.sh: could not make the queue the default printer" >&2
  exit 1
fi

export CUPS_SERVERROOT="$root/client"
: >"$CUPS_SERVERROOT/client.conf"
export ZUNO_CUPS_QUEUE="$queue"
export ZUNO_PDF_DIR="$root/work/pdf"
export ZUNO_CUPS_LOG_DIR="$root/log"
unset LPDEST PRINTER

# The command gets a time limit of its own, so that the server is stopped
# here even when the command hangs.
timeout --kill-after=10 "${ZUNO_CUPS_TIMEOUT:-200}" "$@"

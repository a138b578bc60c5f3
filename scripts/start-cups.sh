#!/usr/bin/env bash
# Sets up a local CUPS print queue for the printing tests and makes it the
# default printer: "KestalTest", a raw queue whose backend keeps every job as
# a file instead of printing it. Prints the folder the jobs land in.
# Safe to run again. Needs root (re-runs itself through sudo otherwise) and
# the packages cups, cups-client, cups-bsd and poppler-utils.
set -euo pipefail

queue=KestalTest
capture=${KESTAL_PRINT_CAPTURE:-/var/spool/kestal-capture}
# A second queue, never the default, for the test that the program keeps
# the printer it found first.
other=KestalTestOther
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "$(id -u)" -ne 0 ]; then
    exec sudo KESTAL_PRINT_CAPTURE="$capture" "$0" "$@"
fi

for tool in cupsd lpadmin lpstat lpoptions cupsenable cupsaccept; do
    if ! command -v "$tool" >/dev/null 2>&1 && [ ! -x "/usr/sbin/$tool" ]; then
        echo "start-cups.sh: $tool is missing (install cups, cups-client, cups-bsd)" >&2
        exit 1
    fi
done
export PATH="$PATH:/usr/sbin"

# The backend: CUPS runs a backend that only root may execute as root, and
# refuses one that others could change.
backends=/usr/lib/cups/backend
install -o root -g root -m 0700 "$root/tests/printing/kestal-capture" "$backends/kestal-capture"

# Test programs run as any user: they read the jobs and keep a lock file here.
mkdir -p "$capture" "$capture/other"
chmod 0777 "$capture" "$capture/other"

if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    cupsd
    for _ in $(seq 100); do
        lpstat -r 2>/dev/null | grep -q "is running" && break
        sleep 0.1
    done
    if ! lpstat -r 2>/dev/null | grep -q "is running"; then
        echo "start-cups.sh: the CUPS scheduler did not start" >&2
        exit 1
    fi
fi

# A raw queue passes the program's PDF through untouched. CUPS 2.4 warns
# that "-m raw" is deprecated; newer versions make raw queues without it.
if ! lpadmin -p "$queue" -E -v "kestal-capture:$capture" -m raw 2>/dev/null; then
    lpadmin -p "$queue" -E -v "kestal-capture:$capture"
fi
if ! lpadmin -p "$other" -E -v "kestal-capture:$capture/other" -m raw 2>/dev/null; then
    lpadmin -p "$other" -E -v "kestal-capture:$capture/other"
fi
for q in "$queue" "$other"; do
    # One failed job must not stop the queue for the jobs after it.
    lpadmin -p "$q" -o printer-error-policy=abort-job
    cupsenable "$q"
    cupsaccept "$q"
done
lpadmin -d "$queue"
lpoptions -d "$queue" >/dev/null

echo "$capture"

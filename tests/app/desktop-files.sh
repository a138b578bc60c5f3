#!/usr/bin/env bash
# The desktop entry and the log's file type, as a desktop sees them once
# installed:
#   1. desktop-file-validate has nothing to say about the entry, which takes
#      a file (Exec=Kestal %f) and offers itself for plain text and logs;
#   2. installing puts the entry, the file type and the icon in place;
#   3. the shared-mime-info database built from the installed type calls
#      ppplog.txt, in any letter case, a PPP log, a kind of plain text.
# Usage: desktop-files.sh <build dir>
# Exits 77 (skipped) when the tools are not installed.
set -euo pipefail

build=$1
for tool in desktop-file-validate update-mime-database; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed" >&2
    exit 77
  fi
done

scratch=$(mktemp -d /tmp/kestal-desktop-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Installed into a staging folder: the database is built below by hand.
DESTDIR="$scratch/stage" cmake --install "$build" --prefix /usr >/dev/null
share="$scratch/stage/usr/share"
entry="$share/applications/kestal.desktop"
[ -f "$entry" ] || fail "no desktop entry installed"
[ -f "$share/mime/packages/kestal-ppplog.xml" ] || fail "no file type installed"
[ -f "$share/icons/hicolor/32x32/apps/kestal.png" ] || fail "no icon installed"

report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
grep -qx 'Exec=Kestal %f' "$entry" || fail "the entry does not take a file"
grep -Eq '^MimeType=(.*;)?text/plain;' "$entry" || fail "the entry does not offer itself for plain text"
grep -Eq '^MimeType=(.*;)?text/x-ppp-log;' "$entry" || fail "the entry does not offer itself for PPP logs"
echo "entry: valid, takes a file, offers itself for plain text and PPP logs"

update-mime-database "$share/mime" 2>/dev/null
# A glob line is "weight:type:pattern", with ":cs" after it when the case
# counts.
glob=$(grep -E '^[0-9]+:text/x-ppp-log:' "$share/mime/globs2" || true)
[[ $glob =~ ^[0-9]+:text/x-ppp-log:ppplog\.txt$ ]] ||
  fail "ppplog.txt in any case is not a PPP log in the database: '$glob'"
grep -qx 'text/x-ppp-log text/plain' "$share/mime/subclasses" || fail "a PPP log is not plain text"
echo "file type: ppplog.txt in any case is a PPP log, a kind of plain text"

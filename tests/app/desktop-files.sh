#!/usr/bin/env bash
# The desktop entry and the log's file type, as a desktop sees them once
# installed:
#   1. desktop-file-validate has nothing to say about the entry, which takes
#      a file (Exec=Kestal %f) and offers itself for PPP logs only, never for
#      all plain text;
#   2. installing puts the entry, the file type and the icon in place;
#   3. the shared-mime-info database built from the installed type calls
#      ppplog.txt, in any letter case, a PPP log, a kind of plain text;
#   4. a desktop (GIO, as `gio open` and the file managers use it) given
#      only the installed files opens ppplog.txt in the viewer, while a
#      plain notes.txt keeps its own editor and is not offered the viewer.
# Usage: desktop-files.sh <build dir>
# Exits 77 (skipped) when the tools are not installed.
set -euo pipefail

build=$1
for tool in desktop-file-validate update-mime-database update-desktop-database gio; do
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
grep -qx 'MimeType=text/x-ppp-log;' "$entry" || fail "the entry claims other types than PPP logs"
echo "entry: valid, takes a file, offers itself for PPP logs only"

update-mime-database "$share/mime" 2>/dev/null
# A glob line is "weight:type:pattern", with ":cs" after it when the case
# counts.
glob=$(grep -E '^[0-9]+:text/x-ppp-log:' "$share/mime/globs2" || true)
[[ $glob =~ ^[0-9]+:text/x-ppp-log:ppplog\.txt$ ]] ||
  fail "ppplog.txt in any case is not a PPP log in the database: '$glob'"
grep -qx 'text/x-ppp-log text/plain' "$share/mime/subclasses" || fail "a PPP log is not plain text"
echo "file type: ppplog.txt in any case is a PPP log, a kind of plain text"

# A desktop of the installed files alone: their own data folder, the
# system's for plain text, no choices of a user's, and the viewer's
# program where the entry's Exec finds it (GIO leaves out entries whose
# program it can't find).
update-desktop-database "$share/applications"
export XDG_DATA_HOME="$share" XDG_DATA_DIRS=/usr/share XDG_CONFIG_HOME="$scratch/config"
export PATH="$scratch/stage/usr/bin:$PATH"
mkdir -p "$XDG_CONFIG_HOME" "$scratch/files"
printf 'milk\nbread\n' >"$scratch/files/notes.txt"
printf '12-01-2026 09:12:04.30 - Remote access driver log opened.\r\n' >"$scratch/files/ppplog.txt"
cp "$scratch/files/ppplog.txt" "$scratch/files/PPPLOG.TXT"
typeOf() { gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
defaultFor() { gio mime "$1" | sed -n '1s/^Default application for .*: //p'; }
for log in ppplog.txt PPPLOG.TXT; do
  type=$(typeOf "$scratch/files/$log")
  [ "$type" = text/x-ppp-log ] || fail "$log is $type to the desktop"
  [ "$(defaultFor "$type")" = kestal.desktop ] || fail "$log does not open in the viewer: $(gio mime "$type")"
done
type=$(typeOf "$scratch/files/notes.txt")
[ "$type" = text/plain ] || fail "notes.txt is $type to the desktop"
offered=$(gio mime "$type")
if grep -q kestal.desktop <<<"$offered"; then fail "plain text is offered the viewer: $offered"; fi
echo "desktop: ppplog.txt opens in the viewer, notes.txt does not"

#!/usr/bin/env bash
# Every text the windows show is in the German catalogue, translated:
# lupdate, run over the sources into a copy of translations/kestal_de.ts,
# finds no text new to it (nothing unfinished) and none gone (nothing
# vanished or obsolete); and each translation keeps its source's "%1" parts.
# Usage: translations-complete.sh <source dir> [lupdate]
# Exits 77 (skipped) when lupdate is not installed.
set -euo pipefail

source=$1
lupdate=${2:-/usr/lib/qt6/bin/lupdate}
if [ ! -x "$lupdate" ]; then
  echo "SKIP: lupdate is not installed" >&2
  exit 77
fi
scratch=$(mktemp -d /tmp/kestal-ts-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

cp "$source/translations/kestal_de.ts" "$scratch/kestal_de.ts"
(cd "$source" && "$lupdate" -locations none -I src src \
  -ts "$scratch/kestal_de.ts") >"$scratch/lupdate.log" 2>&1 || { cat "$scratch/lupdate.log"; exit 1; }
grep 'Found' "$scratch/lupdate.log"

python3 - "$scratch/kestal_de.ts" <<'PY'
import re, sys
import xml.etree.ElementTree as ET
problems = []
for context in ET.parse(sys.argv[1]).getroot().iter('context'):
    name = context.findtext('name')
    for message in context.iter('message'):
        source = message.findtext('source')
        translation = message.find('translation')
        kind = translation.get('type')
        if kind:
            problems.append(f'{name}: {kind}: {source!r}')
        elif not (translation.text or '').strip():
            problems.append(f'{name}: empty translation: {source!r}')
        elif sorted(re.findall(r'%\d', source)) != sorted(re.findall(r'%\d', translation.text)):
            problems.append(f'{name}: the parts differ: {source!r} -> {translation.text!r}')
for problem in problems:
    print('FAIL:', problem)
sys.exit(1 if problems else 0)
PY
echo "the German catalogue holds every text, each translated"

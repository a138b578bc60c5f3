#!/usr/bin/env bash
# Checks a built kestal_*.deb without installing it into the system:
#   1. dpkg-deb reads its control fields and lists what it installs;
#   2. apt-get finds every package it depends on (a simulated install);
#   3. both programs, unpacked from it with dpkg-deb -x, answer --version;
#   4. its desktop entry passes desktop-file-validate, its AppStream
#      metadata appstreamcli validate (no errors, no warnings);
#   5. lintian finds no errors in it (its warnings are printed; they are
#      explained in docs/packaging.md).
# Usage: check-package.sh <kestal_VERSION_ARCH.deb>
set -euo pipefail

deb=$(realpath "$1")
scratch=$(mktemp -d /tmp/kestal-deb-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

echo "-- dpkg-deb --info"
dpkg-deb --info "$deb" | tee "$scratch/info"
grep -q '^ Package: kestal$' "$scratch/info" || fail "the package is not called kestal"
grep -q '^ Depends: .*libqt6widgets6' "$scratch/info" || fail "no Depends computed from the binaries"

echo "-- dpkg-deb --contents"
dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$scratch/contents"
cat "$scratch/contents"
for file in /usr/bin/Kestal /usr/bin/kestal-calls /usr/share/applications/kestal.desktop \
  /usr/share/mime/packages/kestal-ppplog.xml /usr/share/man/man1/Kestal.1.gz \
  /usr/share/man/man1/kestal-calls.1.gz /usr/share/doc/kestal/copyright \
  /usr/share/doc/kestal/changelog.gz /usr/share/icons/hicolor/scalable/apps/kestal.svg; do
  grep -qx "$file" "$scratch/contents" || fail "$file is not in the package"
done
for size in 48 64 128 256; do
  grep -qx "/usr/share/icons/hicolor/${size}x${size}/apps/kestal.png" "$scratch/contents" ||
    fail "no ${size}x${size} icon in the package"
done
metainfo=$(grep -x '/usr/share/metainfo/.*\.metainfo\.xml' "$scratch/contents") ||
  fail "no AppStream metadata in the package"

echo "-- apt-get install --simulate"
apt-get install --simulate "$deb" >"$scratch/apt" 2>&1 || { cat "$scratch/apt"; fail "apt-get can't resolve the dependencies"; }
grep -q '^Inst kestal ' "$scratch/apt" || { cat "$scratch/apt"; fail "apt-get would not install kestal"; }
echo "apt-get would install kestal and $(grep -c '^Inst ' "$scratch/apt") package(s) in all"

echo "-- the unpacked programs"
dpkg-deb -x "$deb" "$scratch/tree"
version=$(dpkg-deb --field "$deb" Version)
out=$(QT_QPA_PLATFORM=offscreen "$scratch/tree/usr/bin/Kestal" --version)
echo "$out"
[[ $out == *"$version"* ]] || fail "Kestal --version says '$out', not $version"
out=$("$scratch/tree/usr/bin/kestal-calls" --version)
echo "$out"
[[ $out == *"$version"* ]] || fail "kestal-calls --version says '$out', not $version"

echo "-- desktop-file-validate"
report=$(desktop-file-validate "$scratch/tree/usr/share/applications/kestal.desktop" 2>&1) ||
  fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
echo "no remarks"

echo "-- appstreamcli validate"
appstreamcli validate --no-net --explain "$scratch/tree$metainfo" | tee "$scratch/appstream" ||
  fail "appstreamcli validate failed"
if grep -qE '^[EW]:' "$scratch/appstream"; then fail "appstreamcli has errors or warnings"; fi

echo "-- lintian"
lintian_user=()
# lintian would rather not run as root.
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
  cp "$deb" "$scratch/" && chmod -R a+rX "$scratch"
  deb="$scratch/$(basename "$deb")"
  lintian_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$scratch")
fi
"${lintian_user[@]}" lintian --info "$deb" | tee "$scratch/lintian" || true
if grep -q '^E:' "$scratch/lintian"; then fail "lintian finds errors"; fi
echo "lintian: $(grep -c '^E:' "$scratch/lintian" || true) errors, $(grep -c '^W:' "$scratch/lintian" || true) warnings"
echo "package checked: $(basename "$deb")"

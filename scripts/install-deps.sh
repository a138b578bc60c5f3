#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Does nothing when they are all there already.
set -euo pipefail

packages=(
  # build, and the layout check
  cmake ninja-build g++ pkg-config clang-format qt6-base-dev qt6-qpa-plugins libgl-dev libgtest-dev libgmock-dev zlib1g-dev
  # the Trends window's charts (QCustomPlot for Qt 6) and their SVG pictures
  libqcustomplot-dev qt6-svg-dev
  # fonts: metric twins of Arial and Courier New
  fonts-liberation
  # real-window checks and screenshots
  xvfb xauth x11-utils xdotool imagemagick openbox
  # the windows' translations (lrelease, lupdate)
  qt6-tools-dev qt6-l10n-tools
  # the Debian package and its checks
  dpkg-dev fakeroot lintian appstream
  # checks of the desktop entry and the log's file type
  desktop-file-utils shared-mime-info libglib2.0-bin
  # printing through CUPS, and reading the printed PDF back
  cups cups-client cups-bsd poppler-utils
  # regional settings in tests
  locales-all
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
  # kestal-calls --journal reads the systemd journal (libsystemd); the tests make
  # journal files with systemd-journal-remote
  libsystemd-dev systemd-journal-remote
  # spreadsheet check of the comma-separated export
  libreoffice-calc-nogui
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

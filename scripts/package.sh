#!/usr/bin/env bash
# Builds the Debian package kestal_VERSION_ARCH.deb in the repository's root:
# a release build of its own (build-package/), or the build folder named
# (the test command packs the build it has just tested), installed into a
# staging tree by CPack's DEB generator, with Depends computed by
# dpkg-shlibdeps. Prints the package's path last.
# Usage: scripts/package.sh [build dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-package}
cd "$root"

for tool in cmake ninja dpkg-shlibdeps fakeroot; do
  command -v "$tool" >/dev/null || { echo "package.sh: $tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done

if [ ! -f "$build/CMakeCache.txt" ]; then
  # Debian's hardening flags (fortified functions, relocations read-only
  # and bound at start).
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  export CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
  export LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTAL_TESTS=OFF -DKESTAL_BENCH=OFF \
    ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
fi
ninja -C "$build" -j"${KESTAL_JOBS:-$(nproc)}" >&2
# Files in the package belong to root, whoever builds it.
(cd "$build" && fakeroot cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/kestal_*.deb | head -n 1)
cp "$deb" "$root/"
echo "$root/$(basename "$deb")"

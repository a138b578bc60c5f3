#!/usr/bin/env bash
# Installs what is missing, checks the layout of the C++ sources, builds,
# and runs every test: the test suite, the same suite again under
# AddressSanitizer + UndefinedBehaviorSanitizer, and a short run of every
# fuzzer. The sanitizer run comes last, so that its
# summary line closes the output.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
# The printing tests print for real through a local CUPS queue.
scripts/start-cups.sh

jobs=$(nproc)

echo "== Layout: clang-format over the tracked C++ sources"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "layout ok: $(git ls-files '*.cpp' '*.h' | wc -l) files"

echo "== Build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== Debian package: built from this build, checked without installing it"
deb=$(scripts/package.sh build | tail -n 1)
scripts/check-package.sh "$deb"

echo "== Fuzzing, ${KESTAL_FUZZ_SECONDS:-60} s a target"
scripts/fuzz.sh "${KESTAL_FUZZ_SECONDS:-60}"

echo "== Build and test under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTAL_SANITIZE=ON -DKESTAL_BENCH=OFF >/dev/null
ninja -C build-asan -j"$jobs"
# GCC 12's sanitizer runtime can take a dynamic TLS block for an old glibc's
# header and crash LeakSanitizer's tracer at exit (google/sanitizers#1322);
# not intercepting __tls_get_addr avoids it and costs only scanning that TLS.
ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:intercept_tls_get_addr=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"


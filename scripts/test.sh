#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the normal build, its Debian package
# (unpacked into a staging folder and run from there), the sanitizer build (AddressSanitizer +
# UndefinedBehaviorSanitizer), the tests on threads under ThreadSanitizer and a short run of every
# fuzz target.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
fuzz_seconds=${VANTOREL_FUZZ_SECONDS:-15}

bash scripts/install-deps.sh

# Compiler results are shared by every checkout of this machine: paths count from the checkout.
export CCACHE_BASEDIR="$top" CCACHE_NOHASHDIR=1

# Tests never write into the user's own data folder.
export VANTOREL_DATA_DIR="${TMPDIR:-/tmp}/vantorel-test-data-$$"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${TMPDIR:-/tmp}/vantorel-runtime-$$"
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$VANTOREL_DATA_DIR" "$XDG_RUNTIME_DIR"' EXIT

echo "== Normal build =="
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default

echo "== Debian package =="
(cd build && cpack -G DEB >/dev/null)
package=$(ls -t build/vantorel_*.deb | head -n 1)
bash tests/integration/installed_tree_test.sh --deb "$package"

echo "== Sanitizer build =="
cmake --preset asan >/dev/null
cmake --build --preset asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan

echo "== Thread sanitizer (the tests of code that threads share) =="
cmake --preset tsan >/dev/null
cmake --build --preset tsan
TSAN_OPTIONS="halt_on_error=1 suppressions=$top/tests/support/tsan-suppressions.txt" ctest --preset tsan

echo "== Fuzz targets (${fuzz_seconds} s each) =="
fuzz_failed=0
while IFS='|' read -r target corpus; do
  [ -n "$target" ] || continue
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  if build-asan/bin/"$target" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$work" >"$work.log" 2>&1; then
    echo "fuzz $target: ok"
  else
    echo "fuzz $target: FAILED"; tail -n 40 "$work.log"; fuzz_failed=1
  fi
  rm -rf "$work" "$work.log"
done < build-asan/fuzzers.txt
exit $fuzz_failed

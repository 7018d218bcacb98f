#!/usr/bin/env bash
# Builds and runs every test: a warning-free optimised build, the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets
# for a bounded time. Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 4)

echo "== release build and tests"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENRIX_WERROR=ON
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs" -LE fuzz

echo "== sanitizer build and tests"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DQUENRIX_WERROR=ON -DQUENRIX_SANITIZE=ON \
      -DQUENRIX_BENCH=OFF
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs" -LE fuzz

if grep -rqs quenrix_add_fuzzer tests --include=CMakeLists.txt; then
  echo "== fuzz targets (clang, libFuzzer, bounded time)"
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQUENRIX_FUZZ=ON -DQUENRIX_BENCH=OFF
  cmake --build build/fuzz -j "$jobs" --target fuzzers
  ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1 \
    ctest --test-dir build/fuzz --output-on-failure -j "$jobs" -L fuzz
fi
echo "== all tests passed"

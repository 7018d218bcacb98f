#!/usr/bin/env bash
# Builds and runs every test: the 32-bit Windows DLLs (cross-built with
# MinGW-w64, when it is installed), a warning-free optimised build whose tests
# include the Windows DLLs' tests under Wine, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets for a
# bounded time. Exits non-zero on the first failure.
# The corpus tests read real IBIS files from ../shared/corpus/ibis beside the
# checkout; IBIS_CORPUS=DIR bash run_tests.sh reads them from DIR instead.
set -euo pipefail
# Always said, so that a plain run goes back to the default search instead of
# the folder an earlier run left in the build's cache.
corpus=(-DIBIS_CORPUS=)
if [ -n "${IBIS_CORPUS:-}" ]; then
  [ -d "$IBIS_CORPUS" ] || { echo "ERROR: IBIS_CORPUS=$IBIS_CORPUS is not a directory" >&2; exit 1; }
  corpus=(-DIBIS_CORPUS="$(cd "$IBIS_CORPUS" && pwd)")
fi
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 4)

win32_dir= win64_dir=
if command -v i686-w64-mingw32-g++ >/dev/null 2>&1; then
  echo "== Windows cross build (32-bit, MinGW-w64)"
  bash cmake/build-win32.sh build/win32
  win32_dir=$PWD/build/win32
  # Where 32-bit programs cannot start, the Windows runs use a 64-bit build
  # of the same sources under 64-bit Wine.
  if ! bash cmake/native-32bit.sh &&
     command -v x86_64-w64-mingw32-g++ >/dev/null 2>&1; then
    echo "== Windows cross build (64-bit twin for the runs under 64-bit Wine)"
    bash cmake/build-win32.sh build/win64 cmake/mingw-x86_64.cmake
    win64_dir=$PWD/build/win64
  fi
elif [ "${CI:-}" = true ]; then
  echo "ERROR: the MinGW-w64 cross compiler (g++-mingw-w64-i686) is missing:" \
       "the Windows DLLs cannot be built or tested" >&2
  exit 1
else
  echo "== Windows cross build skipped: g++-mingw-w64-i686 is not installed"
fi

echo "== release build and tests"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENRIX_WERROR=ON \
      -DQUENRIX_TESTS=ON -DQUENRIX_BENCH=ON -DQUENRIX_WIN32_DIR="$win32_dir" -DQUENRIX_WIN64_DIR="$win64_dir" \
      "${corpus[@]}"
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs" -LE fuzz

echo "== sanitizer build and tests"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DQUENRIX_WERROR=ON -DQUENRIX_SANITIZE=ON \
      -DQUENRIX_TESTS=ON -DQUENRIX_BENCH=OFF "${corpus[@]}"
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs" -LE fuzz

if grep -rqs quenrix_add_fuzzer tests --include=CMakeLists.txt; then
  echo "== fuzz targets (clang, libFuzzer, bounded time)"
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQUENRIX_FUZZ=ON -DQUENRIX_TESTS=ON -DQUENRIX_BENCH=OFF
  cmake --build build/fuzz -j "$jobs" --target fuzzers
  ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1 \
    ctest --test-dir build/fuzz --output-on-failure -j "$jobs" -L fuzz
fi
echo "== all tests passed"
if ctest --test-dir build/release -N -L corpus | grep -q "Total Tests: 0"; then
  echo "== the corpus tests were skipped: no real IBIS files at ../shared/corpus/ibis beside" \
       "the checkout; IBIS_CORPUS=DIR bash run_tests.sh runs them on the files in DIR"
fi

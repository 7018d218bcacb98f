#!/usr/bin/env bash
# Configures and builds the Windows set (Veskaro.dll, Tolvane.dll and the
# 32-bit host programs) with the MinGW-w64 cross compiler.
#   bash cmake/build-win32.sh [BUILD_DIR [TOOLCHAIN]]
# (default build/win32 and cmake/mingw-i686.cmake; cmake/mingw-x86_64.cmake
# makes the 64-bit twin that the tests use where 32-bit programs cannot run)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build/win32}
toolchain=${2:-cmake/mingw-i686.cmake}
cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DQUENRIX_WERROR=ON
cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 4)"
echo "Windows DLLs: $dir/models/windows/Veskaro.dll $dir/models/windows/Tolvane.dll"

#!/usr/bin/env bash
# Configures and builds the Windows set (Veskaro.dll, Tolvane.dll and the
# 32-bit host programs) with the MinGW-w64 cross compiler.
#   bash cmake/build-win32.sh [BUILD_DIR]   (default build/win32)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build/win32}
cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release -DQUENRIX_WERROR=ON
cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 4)"
echo "Windows DLLs: $dir/models/windows/Veskaro.dll $dir/models/windows/Tolvane.dll"

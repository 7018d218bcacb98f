#!/usr/bin/env bash
# Builds everything and runs the main demonstration.
set -euo pipefail
cd "$(dirname "$0")"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc 2>/dev/null || echo 4)"
./build/release/tools/dataflow_demo/dataflow_demo

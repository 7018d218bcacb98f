#!/usr/bin/env bash
# Builds everything and runs the main demonstration.
set -euo pipefail
cd "$(dirname "$0")"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc 2>/dev/null || echo 4)"
# The receiver model driven as a channel simulator would: a PRBS-7 stream
# through a lossy channel, equalised and clock-recovered by Veskaro_x64.so.
./build/release/tools/amihost/amihost --model build/release/models/rx/Veskaro_x64.so \
    --bits 20000 --block 1024 --data-ppm 300 \
    --wave-csv build/rx_wave.csv --clock-csv build/rx_clock.csv

#!/usr/bin/env bash
# Builds everything and runs the main demonstration.
set -euo pipefail
cd "$(dirname "$0")"
# The demonstration needs only CMake and g++: the tests (GoogleTest) and the
# benchmarks (Google Benchmark) are left out of its build.
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENRIX_TESTS=OFF -DQUENRIX_BENCH=OFF
cmake --build build/release -j "$(nproc 2>/dev/null || echo 4)"
# The transmitter shapes the channel's impulse responses (main column and one
# aggressor), the host builds the received waveform from them, and the
# receiver equalises it and recovers the clock: the two model libraries driven
# as a channel simulator would drive them.
./build/release/tools/amihost/amihost \
    --tx build/release/models/tx/Tolvane_x64.so \
    --model build/release/models/rx/Veskaro_x64.so \
    --aggressors 1 --channel-tau 0.6 --bits 20000 --block 1024 --data-ppm 300 \
    --impulse-csv build/tx_impulse.csv --wave-csv build/chain_wave.csv \
    --clock-csv build/chain_clock.csv

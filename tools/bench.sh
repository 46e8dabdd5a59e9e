#!/usr/bin/env bash
# Builds the benchmarks in a Release tree and runs them: tools/bench.sh [benchmark options...]
# (e.g. --benchmark_filter=Sort): the library-wide operations and files, then mondral-cli's
# near-duplicate search, repair and import. Not part of the test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release -DMONDRAL_GUI=OFF \
  -DMONDRAL_BENCH=ON >/dev/null
cmake --build build-bench --target library_bench cli_bench synth_bench
build-bench/bench/library_bench "$@"
build-bench/bench/cli_bench "$@"
build-bench/bench/synth_bench "$@"

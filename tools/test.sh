#!/usr/bin/env bash
# Sets everything up and runs the whole test suite:
#   1. the sanitizer tree (AddressSanitizer + UndefinedBehaviorSanitizer) without windows,
#   2. the normal tree with every test, windows offscreen.
# Ends with CTest's summary of the normal tree.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== sanitizer build (address, undefined) =="
bash tools/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DMONDRAL_SANITIZE=address,undefined \
  -DMONDRAL_GUI=OFF -DMONDRAL_BENCH=OFF
ctest --test-dir build-asan --output-on-failure -j2

echo "== normal build =="
bash tools/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMONDRAL_GUI=ON -DMONDRAL_BENCH=ON -DMONDRAL_SANITIZE=
ctest --test-dir build --output-on-failure -j2

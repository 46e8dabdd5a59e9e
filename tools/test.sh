#!/usr/bin/env bash
# Sets everything up and runs the whole test suite:
#   1. the sanitizer tree (AddressSanitizer + UndefinedBehaviorSanitizer) without windows,
#   2. the threaded MIDI tests (input queue, emulated rack) under ThreadSanitizer (a tree with
#      only those tests),
#   3. the fuzz targets (a clang tree of their own), each for a short fixed run; skipped where
#      clang is missing, except on CI,
#   4. the normal tree with every test, windows offscreen.
# The MIDI integration tests of both full trees run against a private JACK server started here
# and stopped whatever happens (skipped where it cannot start, except on CI, where the run fails).
# Ends with CTest's summary of the normal tree.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

# Only our own private server counts. Until it is up, JACK clients look for a server nobody
# runs and never start one, so a leftover or default server can take no part in the tests.
unset MONDRAL_JACK_SERVER
export JACK_DEFAULT_SERVER="mondral-none-$$" JACK_NO_START_SERVER=1
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

source tools/private-jack.sh
trap stop_private_jack EXIT
if start_private_jack; then
  echo "private JACK server $MONDRAL_JACK_SERVER is up"
elif [ "${CI:-}" = true ]; then
  echo "CI: the MIDI integration tests need the JACK server" >&2
  exit 1
else
  echo "No JACK server could be started here: the MIDI integration tests will be skipped."
fi

echo "== sanitizer build (address, undefined) =="
bash tools/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DMONDRAL_SANITIZE=address,undefined \
  -DMONDRAL_GUI=OFF -DMONDRAL_BENCH=OFF
ctest --test-dir build-asan --output-on-failure -j2

echo "== thread sanitizer build (MIDI input threads, emulated rack) =="
cmake -S . -B build-tsan -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Debug -DMONDRAL_SANITIZE=thread \
  -DMONDRAL_GUI=OFF -DMONDRAL_BENCH=OFF >/dev/null
cmake --build build-tsan --target midi_threads_test midi_rack_tests -- -j"$(nproc)"
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/midi/midi_threads_test --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/midi/midi_rack_tests --gtest_brief=1

echo "== fuzz targets (short run) =="
bash tools/fuzz.sh --short

echo "== normal build =="
bash tools/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMONDRAL_GUI=ON -DMONDRAL_BENCH=ON -DMONDRAL_SANITIZE=
# Should our server die, the integration tests fail (their ports are gone): never a pass by chance.
ctest --test-dir build --output-on-failure -j2

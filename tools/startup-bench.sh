#!/usr/bin/env bash
# Start-up time: builds the program and the benchmark in a Release tree (build-bench/), starts
# a private Xvfb and prints the medians of the time from process start to the first paint of
# the main window, for the program and for a bare Qt window of the same size, and their ratio.
#   tools/startup-bench.sh [RUNS]   (default 15)
# The program runs with a temporary home, so its settings start empty and stay out of yours.
# Not part of the test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
bash tools/setup.sh
need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xdpyinfo >/dev/null || need+=(x11-utils)
pkg-config --exists xcb-damage || need+=(libxcb-damage0-dev)
if [ ${#need[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
BUILD_TARGETS="mondral startup_bench bare_window" bash tools/build.sh build-bench -DCMAKE_BUILD_TYPE=Release -DMONDRAL_GUI=ON -DMONDRAL_BENCH=ON \
  -DMONDRAL_SANITIZE= >/dev/null

home=$(mktemp -d)
display=:$(( 50 + RANDOM % 400 ))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$home"' EXIT
for _ in $(seq 100); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.05; done
mkdir -m 700 "$home/runtime"
DISPLAY=$display HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime \
  QT_QPA_PLATFORM=xcb build-bench/bench/startup_bench "$runs" \
  "$PWD/build-bench/app/mondral" "$PWD/build-bench/bench/bare_window"

#!/usr/bin/env bash
# Sets everything up, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMONDRAL_GUI=ON -DMONDRAL_BENCH=ON -DMONDRAL_SANITIZE=
exec build/app/mondral

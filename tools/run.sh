#!/usr/bin/env bash
# Sets everything up, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMONDRAL_GUI=ON -DMONDRAL_BENCH=ON -DMONDRAL_SANITIZE=
if [ -x build/app/mondral ]; then
  exec build/app/mondral
fi
echo "Built. The program has no main window yet; run tools/test.sh for the tests."

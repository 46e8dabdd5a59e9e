#!/usr/bin/env bash
# Builds a Release tree (build-package/) and makes the Debian package mondral_VERSION_ARCH.deb in
# it; install it with `sudo apt install ./build-package/mondral_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh build-package -DCMAKE_BUILD_TYPE=Release -DMONDRAL_GUI=ON -DMONDRAL_BENCH=OFF -DMONDRAL_SANITIZE=
(cd build-package && cpack -B . >/dev/null)
ls "$PWD"/build-package/mondral_*.deb

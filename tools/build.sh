#!/usr/bin/env bash
# Configures and builds one build tree: tools/build.sh DIR [cmake options...]
# BUILD_TARGETS="a b" builds only those targets.
# Where ccache is installed it serves the compiler, so several trees share their object files.
set -euo pipefail
dir=$1; shift
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$(dirname "$0")/.." -B "$dir" -G Ninja -Wno-dev "${launcher[@]}" "$@" >/dev/null
targets=()
[ -n "${BUILD_TARGETS:-}" ] && targets=(--target ${BUILD_TARGETS})
cmake --build "$dir" "${targets[@]}" -- -j"$(nproc)"

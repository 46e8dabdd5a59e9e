#!/usr/bin/env bash
# Installs every package the build, the tests and the benchmarks need.
# Quick when everything is already present: apt-get runs only for what is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev
  librtmidi-dev jackd2 libjack-jackd2-dev librtaudio-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  dpkg-dev file desktop-file-utils appstream
  clang libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  # The JACK server's only question (realtime limits) is answered "no" up front.
  echo 'jackd2 jackd/tweak_rt_limits boolean false' | "${sudo_cmd[@]}" debconf-set-selections
  # One command for all: jackd2 alone would replace the JACK library librtmidi-dev needs.
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${packages[@]}"
fi

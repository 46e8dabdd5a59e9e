#!/usr/bin/env bash
# tools/package-smoke.sh [PACKAGE.deb]: installs the package as a user would, in a fresh Debian 12
# system made with debootstrap in a temporary chroot (needs root and the Debian mirror), starts
# the program there the way the desktop menu does (the Exec line of its desktop entry) under
# Xvfb, and saves a screenshot as package-smoke.png. Without a package it makes one first
# (tools/package.sh). Not part of the test command: it downloads a whole base system.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=${1:-}
if [ -z "$deb" ]; then
  deb=$(bash tools/package.sh | tail -n 1)
fi
deb=$(realpath "$deb")
[ "$(id -u)" -eq 0 ] || { echo "package-smoke: run as root (chroot)" >&2; exit 2; }
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null

root=$(mktemp -d /tmp/mondral-smoke.XXXXXX)
cleanup() {
  for m in proc sys dev/pts dev; do umount "$root/$m" 2>/dev/null || true; done
  rm -rf "$root"
}
trap cleanup EXIT

echo "== a fresh Debian 12 in $root =="
debootstrap --variant=minbase bookworm "$root" >/dev/null
for m in dev dev/pts proc sys; do mount --bind "/$m" "$root/$m"; done
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

echo "== apt install ./$(basename "$deb") =="
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$deb")" >/dev/null
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  xvfb xauth x11-apps netpbm >/dev/null

entry=/usr/share/applications/org.korvane.Mondral.desktop
command=$(in_root sed -n 's/^Exec=//p' "$entry")
echo "== starting '$command' from the desktop entry under Xvfb =="
in_root xvfb-run -a -s "-screen 0 1280x900x24" sh -c "
  $command & pid=\$!
  sleep 5
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > /tmp/package-smoke.png
  kill -TERM \$pid; wait \$pid"
cp "$root/tmp/package-smoke.png" package-smoke.png
echo "screenshot: $PWD/package-smoke.png"

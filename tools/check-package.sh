#!/usr/bin/env bash
# tools/check-package.sh BUILD_DIR: makes the Debian package of a built tree and checks it without
# installing it system-wide: unpacked into a temporary folder, it must hold the executables, the
# MIDI device module, a valid desktop entry, the icon at every size, valid AppStream metadata and
# the manual pages, declare the real runtime packages, and its executable must start and close
# cleanly.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package check: $*" >&2; exit 1; }

(cd "$build" && cpack -B "$work/out" >/dev/null) || fail "cpack failed"
deb=$(ls "$work"/out/mondral_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package was made"
dpkg-deb -x "$deb" "$work/root"
root=$work/root/usr
id=org.korvane.Mondral

[ -x "$root/bin/mondral" ] || fail "no executable usr/bin/mondral"
if [ -x "$build/cli/mondral-cli" ]; then
  [ -x "$root/bin/mondral-cli" ] || fail "no executable usr/bin/mondral-cli"
  [ -f "$root/share/man/man1/mondral-cli.1" ] || fail "no manual page for mondral-cli"
fi
[ -f "$root/share/man/man1/mondral.1" ] || fail "no manual page for mondral"
[ -n "$(find "$root/lib" -name mondral_midi_devices.so)" ] || fail "no MIDI device module"

desktop=$root/share/applications/$id.desktop
[ -f "$desktop" ] || fail "no desktop entry"
desktop-file-validate "$desktop" || fail "desktop entry not valid"
grep -q '^Categories=.*Audio;.*Midi;' "$desktop" || fail "desktop entry not in Audio/Midi"

for size in 16 24 32 48 64 128 256; do
  icon=$root/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  file "$icon" | grep -q "PNG image data, $size x $size" || fail "icon $icon is not $size x $size"
done
[ -f "$root/share/mondral/screenshots/main-window.png" ] || fail "no screenshot"
appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" >/dev/null \
  || fail "AppStream metadata not valid"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 librtmidi6 librtaudio6 libjack qt6-qpa-plugins; do
  [[ $depends == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

# The unpacked program starts and closes as the built one does (the start-up test's checks).
MONDRAL_RUN_EXECUTABLE="$root/bin/mondral" "$build/tests/app/mondral_run_tests" --gtest_brief=1 \
  || fail "the packaged program did not start and close cleanly"
echo "package check: $(basename "$deb") passed"

#!/bin/bash
# Builds the Debian package from the release build (default build/) and
# checks it: its file list, lintian (no errors), the desktop entry and
# metainfo validators; then unpacks it into a throwaway root, makes the
# program folder read-only, runs the installed panel headless against the
# installed simulator with a throwaway home, and checks that the panel keeps
# "Slider.ini" and its error log in that home's per-user folders.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

echo "== Debian package"
(cd "$build" && rm -f ./*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/orx-level-control_*.deb)
echo "built $deb"

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for wanted in ./usr/bin/orx-level-control ./usr/bin/switcher-sim \
    ./usr/share/applications/org.orx.LevelControl.desktop \
    ./usr/share/icons/hicolor/scalable/apps/org.orx.LevelControl.svg \
    ./usr/share/metainfo/org.orx.LevelControl.metainfo.xml \
    ./usr/share/man/man1/orx-level-control.1.gz ./usr/share/man/man1/switcher-sim.1.gz \
    ./usr/share/doc/orx-level-control/copyright ./usr/share/doc/orx-level-control/changelog.gz; do
    grep -qx -- "$wanted" <<<"$listing" || { echo "the package lacks $wanted"; exit 1; }
done
echo "file list complete"

# Only information tags remain (see the README); root is told it is root.
if ! lintian --fail-on error "$deb" >"$build/lintian.log" 2>&1; then
    cat "$build/lintian.log"
    echo "lintian reports errors"
    exit 1
fi
grep -v 'root privileges' "$build/lintian.log" || true
echo "lintian: no errors"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
root="$work/root"
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/org.orx.LevelControl.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.orx.LevelControl.metainfo.xml" |
    tail -n 1

echo "== The installed panel with a read-only program folder"
chmod -R a-w "$root/usr/bin"
home="$work/home"
mkdir -p "$home/.config/orx-level-control"
# As root every folder can be written: the panel runs as nobody instead.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi

simlog="$work/sim.log"
"$root/usr/bin/switcher-sim" --port 0 >"$simlog" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; rm -rf "$work"' EXIT
port=""
for _ in $(seq 50); do
    port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$simlog")
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { echo "the installed simulator did not start:"; cat "$simlog"; exit 1; }

printf '[CONFIGURATION]\r\nGain Stage=15\r\nFader Count=2\r\nChan 1=1\r\nChan 2=2\r\nIP Address=127.0.0.1\r\nIP Port=%s\r\n' \
    "$port" >"$home/.config/orx-level-control/Slider.ini"
chown -R 65534:65534 "$home" 2>/dev/null || true

env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen \
    "${as_user[@]}" "$root/usr/bin/orx-level-control" >"$work/panel.log" 2>&1 &
panel=$!
for _ in $(seq 100); do
    grep -q '<- F2 ' "$simlog" && break
    sleep 0.1
done
grep -q '<- F2 ' "$simlog" || { echo "the installed panel never asked for its tables"; cat "$work/panel.log"; exit 1; }
# The switcher going away is one entry of the error log.
log="$home/.local/state/orx-level-control/Errorlog.txt"
kill "$sim"
for _ in $(seq 100); do
    grep -q 'Connection Error' "$log" 2>/dev/null && break
    sleep 0.1
done
kill -TERM "$panel"
wait "$panel" || { echo "the installed panel did not exit cleanly"; cat "$work/panel.log"; exit 1; }

settings="$home/.config/orx-level-control/Slider.ini"
grep -q $'^Link 2=0\r$' "$settings" || { echo "Slider.ini was not written at exit in $settings"; exit 1; }
grep -q 'Connection Error' "$log" || { echo "no error-log entry in $log"; exit 1; }
[ -z "$(ls "$root/usr/bin" | grep -v -x -e orx-level-control -e switcher-sim)" ] ||
    { echo "the panel wrote into its program folder"; exit 1; }
echo "settings and log kept in the user's folders"

#!/bin/bash
# Installs what is missing, builds the panel and the switcher simulator, and
# starts both: the panel's default settings point at 127.0.0.1 port 1250,
# where the simulator listens. The simulator stops when the panel exits.
# Without a display (a server, a container) both run under a virtual X server
# for a few seconds and a screenshot of the panel is saved instead.
# BUILD_DIR chooses the build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"

bash scripts/install-deps.sh
cmake --preset release -B "$build"
cmake --build "$build" -j2 --target orx-level-control switcher-sim

# A first run gets eight faders on the first eight destinations; an operator's
# own settings file is never touched.
if [ ! -e "$build/Slider.ini" ]; then
    {
        printf '[CONFIGURATION]\r\nGain Stage=15\r\nFader Count=8\r\n'
        for n in 1 2 3 4 5 6 7 8; do printf 'Chan %d=%d\r\nLink %d=0\r\n' "$n" "$n" "$n"; done
        printf 'IP Address=127.0.0.1\r\nIP Port=1250\r\n'
    } > "$build/Slider.ini"
fi

simlog="$PWD/$build/switcher-sim.log"
"$build/switcher-sim" --wander 3 > "$simlog" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    grep -q '^listening on' "$simlog" && break
    kill -0 "$sim" 2>/dev/null || break
    sleep 0.1
done
if ! grep -q '^listening on' "$simlog"; then
    echo "The simulator did not start (is port 1250 taken?):" >&2
    cat "$simlog" >&2
    exit 1
fi
echo "Switcher simulator on 127.0.0.1:1250; its messages go to $simlog"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    "$build/orx-level-control"
    exit
fi

shot="$PWD/$build/panel.png"
echo "No display: running the panel under Xvfb for a few seconds."
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    "$1" & pid=$!
    sleep 4
    # Only the panel window, found by its title.
    import -window "ORX Level Control" "$2" || import -window root -trim "$2"
    kill -TERM $pid
    wait $pid
' _ "$build/orx-level-control" "$shot"
echo "Screenshot of the panel: $shot"

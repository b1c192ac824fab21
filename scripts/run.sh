#!/bin/bash
# Installs what is missing, builds the panel and starts it. Without a display
# (a server, a container) it runs the panel under a virtual X server for a few
# seconds and saves a screenshot instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2 --target orx-level-control

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/orx-level-control
fi

shot="$PWD/build/panel-screenshot.png"
echo "No display: running the panel under Xvfb for a few seconds."
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    build/orx-level-control & pid=$!
    sleep 4
    import -window root "$1"
    kill -TERM $pid
    wait $pid
' _ "$shot"
echo "Screenshot of the panel: $shot"

#!/bin/bash
# Installs what is missing, builds everything with warnings as errors, and runs
# every test. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DPANEL_WARNINGS_FATAL=ON
cmake --build build -j2
cd build
ctest --output-on-failure -j2 --timeout 300

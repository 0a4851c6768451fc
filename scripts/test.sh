#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
jobs=$(nproc)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANTA_WERROR=ON >/dev/null
cmake --build build-test -j"$jobs"
cd build-test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 600

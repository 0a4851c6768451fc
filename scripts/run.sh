#!/usr/bin/env bash
# Installs what is missing, builds the program, creates an empty data file beside it if there
# is none, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANTA_TESTS=OFF -DCORVANTA_BENCH=OFF \
    -DCORVANTA_WERROR=OFF >/dev/null
cmake --build build-release -j"$(nproc)"
exec build-release/app/corvanta "$@"

#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it. The data file lives in the
# person's own data folder, where no rebuild can delete it: when neither that folder nor the
# program's folder holds one, an empty one is made there first. An existing file is never
# touched, and none is ever made in the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANTA_TESTS=OFF -DCORVANTA_BENCH=OFF \
    -DCORVANTA_WERROR=OFF >/dev/null
cmake --build build-release -j"$(nproc)"

data_home=${XDG_DATA_HOME:-$HOME/.local/share}
[[ $data_home = /* ]] || data_home=$HOME/.local/share
beside=build-release/app/Corvanta.cvd
personal=$data_home/Corvanta/Corvanta.cvd
if [ -e "$beside" ]; then
    echo "Using $beside, inside the build folder; move it to $personal so that a rebuild cannot delete it."
elif [ ! -e "$personal" ] && [ ! -e "${personal}Compact" ]; then
    (umask 077 && mkdir -p "$data_home/Corvanta")
    build-release/tools/corvanta-create-datafile --if-missing "$personal"
    echo "Created an empty data file: $personal"
fi
exec build-release/app/corvanta "$@"

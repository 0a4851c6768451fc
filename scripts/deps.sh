#!/usr/bin/env bash
# Installs, with apt-get, whatever of the named package groups is missing on this machine.
#   scripts/deps.sh build      compiler, CMake, Ninja, Qt 6, libsodium, SQLite
#   scripts/deps.sh test       the above and what the tests need (X server, window manager, ...)
set -euo pipefail

build_pkgs=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libsodium-dev libsqlite3-dev)
test_pkgs=(xvfb xauth openbox trayer xdotool imagemagick clang libclang-rt-14-dev at-spi2-core python3-pyatspi dbus-x11
           keepassxc)

want=("${build_pkgs[@]}")
if [ "${1:-build}" = test ]; then
    want+=("${test_pkgs[@]}")
fi

missing=()
for p in "${want[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

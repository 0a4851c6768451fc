#!/usr/bin/env bash
# Installs, with apt-get, whatever of the named package groups is missing on this machine.
#   scripts/deps.sh build      compiler, CMake, Ninja, Qt 6, libsodium, SQLite
#   scripts/deps.sh package    the above and what `cpack -G DEB` needs (dpkg-shlibdeps, file)
#   scripts/deps.sh test       all of the above and what the tests need (X server, window manager,
#                              the desktop-entry and metadata checkers, ...)
set -euo pipefail

build_pkgs=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libsodium-dev
    libsqlite3-dev)
package_pkgs=(dpkg-dev file)
test_pkgs=(git clang-format xvfb xauth openbox trayer xdotool x11-utils imagemagick clang libclang-rt-14-dev at-spi2-core
    python3-pyatspi dbus-x11 dbus-daemon keepassxc desktop-file-utils appstream)

want=("${build_pkgs[@]}")
case "${1:-build}" in
    package) want+=("${package_pkgs[@]}") ;;
    test) want+=("${package_pkgs[@]}" "${test_pkgs[@]}") ;;
esac

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

#!/usr/bin/env bash
# Installs the built program as a person would get it and starts it for a new user in a
# temporary home, headless, until it has made and opened that user's data file.
#   install_test.sh install BUILD_DIR DUMP_TOOL   cmake --install into a temporary prefix; the
#                                                 desktop entry and the metadata are validated
#   install_test.sh package BUILD_DIR DUMP_TOOL   cpack -G DEB; its computed dependencies, then
#                                                 the program unpacked from it
set -uo pipefail
mode=$1 build=$2 dump=$3
id=org.example.Corvanta

need=(desktop-file-validate appstreamcli)
[ "$mode" = package ] && need=(cpack dpkg-deb dpkg-shlibdeps file)
for tool in "${need[@]}"; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/deps.sh test installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

# Starts PREFIX/bin/corvanta for a user with nothing yet: the program must copy the shipped
# empty file into ~/.local/share/Corvanta and open it (the engine's lock file appears beside
# the file it opened), then wait in the personal-information dialog.
first_start() {
    local prefix=$1 home=$work/home-$RANDOM
    mkdir -p "$home/runtime" && chmod 700 "$home/runtime"
    env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
        QT_QPA_PLATFORM=offscreen "$prefix/bin/corvanta" &
    app=$!
    local data=$home/.local/share/Corvanta
    for _ in $(seq 100); do [ -e "$data/Corvanta.cvd.lock" ] && break; sleep 0.1; done
    [ -e "$data/Corvanta.cvd.lock" ] || fail "the installed program opened no data file in $data"
    kill -0 "$app" 2>/dev/null || fail "the installed program ended at its first start"
    kill "$app"
    wait "$app" 2>/dev/null
    app=
    [ "$(stat -c %a "$data")" = 700 ] || fail "the data folder is not 0700"
    [ "$(stat -c %a "$data/Corvanta.cvd")" = 600 ] || fail "the data file is not 0600"
    "$dump" "$data/Corvanta.cvd" "" >/dev/null || fail "the copied data file does not open without password"
}

if [ "$mode" = install ]; then
    prefix=$work/prefix
    cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
else
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null || fail "cpack -G DEB failed"
    deb=$(ls "$work"/deb/corvanta_*.deb) || fail "no package made"
    depends=$(dpkg-deb -f "$deb" Depends)
    for lib in libqt6widgets6 libqt6svg6 libsodium23 libsqlite3-0 libc6; do
        grep -q "$lib" <<<"$depends" || fail "$lib missing from the computed dependencies: $depends"
    done
    dpkg-deb -x "$deb" "$work/root" || fail "the package does not unpack"
    prefix=$work/root/usr
fi
for f in bin/corvanta share/corvanta/Corvanta.cvd share/applications/$id.desktop \
    share/icons/hicolor/scalable/apps/$id.svg share/metainfo/$id.metainfo.xml \
    share/doc/corvanta/{Corvanta.doc,Corvanta.html,Readme.txt,License.txt}; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
if [ "$mode" = install ]; then
    desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
    appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "metadata"
fi
first_start "$prefix"
echo "1 passed, 0 failed"

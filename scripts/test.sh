#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless through ctest; then
# the same suite again under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer, and
# a bounded run of the data-file fuzzer (FUZZ_SECONDS, 60 by default).
# SKIP_SANITIZE=1 or SKIP_FUZZ=1 leave those out on a developer's machine; CI runs all three.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
jobs=$(nproc)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANTA_WERROR=ON >/dev/null
cmake --build build-test -j"$jobs"
(cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 600)

if [ "${SKIP_SANITIZE:-0}" != 1 ]; then
    echo "== sanitizer build: the whole suite under ASan, UBSan and LeakSanitizer"
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANTA_SANITIZE=ON -DCORVANTA_WERROR=ON >/dev/null
    cmake --build build-asan -j"$jobs"
    # Leaks inside system libraries are suppressed by name in lsan.supp; ours are not. No strict
    # string checks: the X keyboard library hands strndup a bound beyond its terminated strings.
    (cd build-asan &&
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
        LSAN_OPTIONS=suppressions=$PWD/../tests/system/lsan.supp:print_suppressions=0 \
        UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 900)
fi

if [ "${SKIP_FUZZ:-0}" != 1 ]; then
    echo "== fuzzing the data-file reader for ${FUZZ_SECONDS:-60} s"
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCORVANTA_LAYERS="engine;data;platform" -DCORVANTA_BENCH=OFF -DCORVANTA_FUZZ=ON -DCORVANTA_WERROR=OFF \
        -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" \
        -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
    cmake --build build-fuzz -j"$jobs" --target fuzz_datafile make_seeds
    (cd build-fuzz && ctest --output-on-failure -R '^fuzz_datafile$' --timeout 900)
fi

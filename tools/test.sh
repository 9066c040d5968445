#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through
# CTest. With CI=true the suite runs a second time in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh --gui
tools/check-includes.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

if [ "${CI:-}" = "true" ]; then
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DEDB_SANITIZE=ON -DEDB_BUILD_BENCH=OFF >/dev/null
  cmake --build build-asan -j"$jobs"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE slow
fi

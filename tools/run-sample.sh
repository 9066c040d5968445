#!/usr/bin/env bash
# Installs what is missing, builds, and runs edbrecover on the bundled
# sample store (generated at build time by edbgen).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
build/bin/edbrecover scan build/sample.edb

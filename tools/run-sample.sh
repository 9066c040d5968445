#!/usr/bin/env bash
# Installs what is missing, builds, and opens the bundled sample store
# (generated at build time by edbgen): in the window when a display is
# available ($DISPLAY or $WAYLAND_DISPLAY), otherwise by printing its scan.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  tools/install-deps.sh --gui
else
  tools/install-deps.sh
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/bin/edbrecover-gui ]; then
  exec build/bin/edbrecover-gui build/sample.edb
fi
build/bin/edbrecover scan build/sample.edb

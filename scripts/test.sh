#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$top/scripts/deps.sh"
pk10_install_deps
build="${PK10_BUILD_DIR:-$top/build}"
pk10_build "$top" "$build"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j "$(nproc)"

#!/usr/bin/env bash
# Installs what is missing, builds, and runs the plan tool on the bundled real draws.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$top/scripts/deps.sh"
pk10_install_deps
build="${PK10_BUILD_DIR:-$top/build}"
pk10_build "$top" "$build"
"$build/cli/pk10-plan" backtest 冠军单双 --draws "$top/data/pk10-draws-2018.csv"

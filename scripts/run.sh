#!/usr/bin/env bash
# Installs what is missing and builds; then starts pk10-service on loopback with a new draw every
# 60 seconds and opens the desktop program against it. Closing the window stops the service.
# Without the desktop program (PK10_BUILD_GUI=OFF) it runs the plan tool on the bundled draws.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$top/scripts/deps.sh"
pk10_install_deps
build="${PK10_BUILD_DIR:-$top/build}"
pk10_build "$top" "$build"

program="$build/app/澜星PK10平刷冠军单双"
if [ ! -x "$program" ] || [ ! -x "$build/server/pk10-service" ]; then
  "$build/cli/pk10-plan" backtest 冠军单双 --draws "$top/data/pk10-draws-2018.csv"
  exit 0
fi

# The program asks 127.0.0.1:19300 first and falls back to 127.0.0.1:19200.
"$build/server/pk10-service" --host 127.0.0.1 --port 19200 --init-port 19300 \
  --db "$build/run-draws.sqlite" --simulate --interval 60 --quiet &
service_pid=$!
trap 'kill "$service_pid" 2>/dev/null || true; wait "$service_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  if (exec 3<>/dev/tcp/127.0.0.1/19300) 2>/dev/null; then break; fi
  sleep 0.1
done

# The settings file "配置.ini" is kept in the working directory.
cd "$build"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running the window on a virtual X server (xvfb-run)."
  xvfb-run -a "$program"
else
  "$program"
fi

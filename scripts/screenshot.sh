#!/usr/bin/env bash
# Builds, starts pk10-service on free loopback ports, opens the main window offscreen against it
# and saves a picture of it (default: docs/screenshot.png).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$top/scripts/deps.sh"
pk10_install_deps
build="${PK10_BUILD_DIR:-$top/build}"
out="${1:-$top/docs/screenshot.png}"
cmake -S "$top" -B "$build" -G Ninja -DPK10_BUILD_GUI=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target pk10-service pk10-screenshot
mkdir -p "$(dirname "$out")"

work="$(mktemp -d)"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
init_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
"$build/server/pk10-service" --host 127.0.0.1 --port "$port" --init-port "$init_port" \
  --db "$work/draws.sqlite" --simulate --interval 60 --quiet &
service_pid=$!
trap 'kill "$service_pid" 2>/dev/null || true; wait "$service_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do
  if (exec 3<>"/dev/tcp/127.0.0.1/$init_port") 2>/dev/null; then break; fi
  sleep 0.1
done
(cd "$work" && QT_QPA_PLATFORM=offscreen "$build/app/pk10-screenshot" \
  "http://127.0.0.1:$init_port/appinit.php" "$out" 5000)
echo "saved $out"

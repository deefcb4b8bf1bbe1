#!/usr/bin/env bash
# Load figures of pk10-service against nginx on the same machine, in the same run:
#   - GET /newphase.php requests/s (wrk) vs nginx serving a static file of the same size;
#   - full "newestdraw" calls/s (call-key exchange + encrypted call, bench/service_load.cpp).
# Targets: newphase >= 0.8x nginx, full calls >= 0.3x nginx. Not run by the tests.
# Environment: PK10_BUILD_DIR (default build), SECONDS_EACH (10), CONNECTIONS (16),
# LOAD_THREADS (8), PORT_BASE (19400).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${PK10_BUILD_DIR:-$top/build}"
seconds="${SECONDS_EACH:-10}"
connections="${CONNECTIONS:-16}"
load_threads="${LOAD_THREADS:-8}"
port_base="${PORT_BASE:-19400}"
draw_port=$port_base
init_port=$((port_base + 1))
nginx_port=$((port_base + 2))

# wrk and nginx come from Debian; installed only when missing.
missing=()
command -v wrk >/dev/null || missing+=(wrk)
command -v nginx >/dev/null || [ -x /usr/sbin/nginx ] || missing+=(nginx-light)
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
nginx_bin="$(command -v nginx || echo /usr/sbin/nginx)"

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPK10_BUILD_GUI=OFF
fi
cmake --build "$build" --target pk10-service pk10-service-load

work="$(mktemp -d)"
service_pid=""
nginx_pid=""
cleanup() {
  [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$build/server/pk10-service" --db "$work/draws.sqlite" --updates "$work/updates" \
  --port "$draw_port" --init-port "$init_port" 2>/dev/null &
service_pid=$!
for _ in $(seq 50); do
  curl -sf "http://127.0.0.1:$draw_port/newphase.php" >/dev/null && break
  sleep 0.1
done
period="$(curl -sf "http://127.0.0.1:$draw_port/newphase.php")"

# nginx serves a file of the same size as the newphase body.
mkdir -p "$work/www"
printf '%s' "$period" > "$work/www/newphase.txt"
cat > "$work/nginx.conf" <<CONF
worker_processes auto;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 1024; }
http {
  access_log off;
  client_body_temp_path $work/tmp-body;
  proxy_temp_path $work/tmp-proxy;
  fastcgi_temp_path $work/tmp-fastcgi;
  uwsgi_temp_path $work/tmp-uwsgi;
  scgi_temp_path $work/tmp-scgi;
  default_type text/plain;
  server {
    listen 127.0.0.1:$nginx_port;
    root $work/www;
  }
}
CONF
"$nginx_bin" -p "$work" -c "$work/nginx.conf" -g 'daemon off;' &
nginx_pid=$!
sleep 0.5

rps() { wrk -t2 -c"$connections" -d"${seconds}s" "$1" | awk '/Requests\/sec/ {print $2}'; }

nginx_rps="$(rps "http://127.0.0.1:$nginx_port/newphase.txt")"
newphase_rps="$(rps "http://127.0.0.1:$draw_port/newphase.php")"
load() {
  "$build/bench/pk10-service-load" "http://127.0.0.1:$init_port/appinit.php" \
    "$load_threads" "$seconds" "$1" | awk '/calls\/s/ {print $2}'
}
full_calls="$(load keepalive)"
client_calls="$(load client)"

echo "nginx static file (${#period} bytes)   requests/s: $nginx_rps"
echo "pk10-service GET /newphase.php     requests/s: $newphase_rps"
echo "pk10-service full newestdraw calls calls/s:    $full_calls (kept-alive connections)"
echo "  the same through the desktop ServiceClient:   $client_calls (a new connection per call)"
awk -v n="$nginx_rps" -v p="$newphase_rps" -v f="$full_calls" 'BEGIN {
  printf "newphase / nginx:   %.2f (target >= 0.8)\n", p / n;
  printf "full calls / nginx: %.3f (target >= 0.3)\n", f / n }'

#!/usr/bin/env bash
# Installs the Debian packages the project needs, running apt-get update only when one is missing.
# Sourced by run.sh and test.sh.

PK10_PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  nettle-dev libpcre2-dev libcurl4-openssl-dev libsqlite3-dev
  nlohmann-json3-dev libcpp-httplib-dev libcli11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  qt6-base-dev qt6-webengine-dev libgl-dev
  fonts-wqy-microhei xvfb xauth
)

pk10_install_deps() {
  local missing=()
  local p
  for p in "${PK10_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

pk10_build() {
  local top="$1" build="$2"
  shift 2
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$build" -j "$(nproc)"
}

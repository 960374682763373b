#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, when any is missing.
# It changes nothing else on the machine.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libpcre2-dev libvectorscan-dev
  libgtest-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  libsqlite3-dev libzstd-dev libssl-dev
  qt6-base-dev qt6-webengine-dev libqt6svg6 libx11-dev
  desktop-file-utils xvfb xauth imagemagick xdotool
  clang-14 libclang-rt-14-dev
  chromium chromium-driver python3-selenium
  emscripten node-acorn
  libkainjow-mustache-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, when any is missing:
# the build dependencies in debian/control (the programs, the browser page and the
# test suite) and the tools below. It changes nothing else on the machine.
set -euo pipefail
cd "$(dirname "$0")/.."

# Beyond the packages' build: the benchmarks, the fuzz targets' clang, pictures
# of windows, and building, checking and installing the packages themselves.
tools=(
  build-essential dpkg-dev file
  libbenchmark-dev
  clang-14 libclang-rt-14-dev
  imagemagick xdotool
  lintian mmdebstrap
)

missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ] && dpkg-checkbuilddeps >/dev/null 2>&1; then exit 0; fi

echo "setup: installing the build dependencies of debian/control and ${missing[*]:-nothing else}" >&2
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get build-dep -y -qq --no-install-recommends ./
[ ${#missing[@]} -eq 0 ] || $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

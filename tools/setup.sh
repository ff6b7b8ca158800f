#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (as root); quick when everything is there.
set -euo pipefail
# libboost-dev: the geometry tests check the clip against Boost.Geometry.
# fonts-liberation: metric-compatible stand-ins for Arial and Courier New, so report columns keep their widths.
# fonts-dejavu-core, fonts-dejavu-extra: the fonts the theory documents are drawn with (tools/docs).
# clang, libclang-rt-14-dev: the readers' fuzz targets (libFuzzer's runtime is in the latter).
pkgs=(g++ cmake make qt6-base-dev libjpeg62-turbo-dev libgtest-dev libbenchmark-dev libboost-dev xvfb xauth fonts-liberation fontconfig
      fonts-dejavu-core fonts-dejavu-extra clang libclang-rt-14-dev)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

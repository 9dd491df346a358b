#!/usr/bin/env bash
# Installs what building, running and testing need, when it is missing (Debian 12, as root).
set -euo pipefail
packages=(cmake g++ pkg-config qt6-base-dev libgtest-dev libbenchmark-dev
  fonts-dejavu-core fonts-noto-core fonts-noto-ui-core fonts-liberation2 cups printer-driver-cups-pdf
  poppler-utils xvfb xauth xclip libcups2-dev openbox x11-utils clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}" >&2
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >&2
fi

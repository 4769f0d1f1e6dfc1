#!/usr/bin/env bash
# Installs every Debian package the game, its tools and its tests need.
# Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev
  libxmp-dev libjpeg62-turbo-dev zlib1g-dev libcurl4-openssl-dev
  libcairo2-dev libfontconfig-dev libfreetype-dev
  fonts-liberation fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool openbox imagemagick sox x11-utils x11-xkb-utils wmctrl
  desktop-file-utils appstream shared-mime-info
  clang libclang-rt-14-dev
  valgrind
  libcpp-httplib-dev libsqlite3-dev sqlite3 libcli11-dev libssl-dev
  libpqxx-dev postgresql nginx
  chromium
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

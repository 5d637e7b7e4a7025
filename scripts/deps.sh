#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the application need.
# Safe to run again: it only installs what is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev qt6-image-formats-plugins
  libgl-dev libvulkan-dev
  libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth x11-utils
  fonts-noto-cjk fonts-dejavu-core
  libx11-dev libglib2.0-bin gsettings-desktop-schemas cinnamon-desktop-data mate-desktop-common
  dbus xfconf libxfconf-0-3 g++-mingw-w64-x86-64
  xdotool openbox sqlite3 qt6-translations-l10n x11-apps imagemagick xfwm4
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=()
[ "$(id -u)" -ne 0 ] && SUDO=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

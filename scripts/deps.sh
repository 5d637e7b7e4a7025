#!/usr/bin/env bash
# Installs the Debian packages that building and running the application need; with
# --tests also those of the tests, benchmarks and fuzzers (the real desktops among them).
# Safe to run again: it only installs what is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev qt6-image-formats-plugins
  libgl-dev libvulkan-dev
  libsqlite3-dev libx11-dev
  xvfb xauth
  fonts-noto-cjk fonts-dejavu-core qt6-translations-l10n
  libglib2.0-bin
)
if [ "${1:-}" = --tests ]; then
  PACKAGES+=(
    libgtest-dev libgmock-dev libbenchmark-dev libicu-dev
    clang libclang-rt-14-dev clang-format
    x11-utils x11-apps xdotool imagemagick sqlite3 procps g++-mingw-w64-x86-64
    # the desktops the wallpaper is set on, and their settings stores
    gsettings-desktop-schemas cinnamon-desktop-data mate-desktop-common
    dbus xfconf libxfconf-0-3 openbox xfwm4 xfdesktop4 caja dconf-service dconf-gsettings-backend
    sway swaybg grim
    gnome-shell cinnamon-settings-daemon dconf-cli python3-gi plasma-desktop
  )
fi

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

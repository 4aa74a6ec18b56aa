#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need,
# and only those that are missing. Works as root or as a user with sudo.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-wayland libgl-dev libxcb1-dev libwayland-dev
  dbus dbus-bin
  xvfb xauth
  libgif-dev libpng-dev libfontconfig-dev
  libical-dev libsecret-1-dev
  googletest libgtest-dev libgmock-dev
  fonts-dejavu-core
  attr xdg-utils gettext
  python3 python3-dbus python3-gi
  dpkg-dev  # dpkg-shlibdeps: the Debian package's library dependencies
)
if [ "${1:-}" = "--test" ]; then
  packages+=(clang libclang-rt-14-dev imagemagick xdotool desktop-file-utils appstream)
  # Orvella read through the accessibility bus, and a clock set by the tests.
  packages+=(at-spi2-core python3-pyatspi faketime)
  # Calendar sync tests: a CalDAV server with an htpasswd user (bcrypt),
  # and the keyring of the Secret Service.
  packages+=(radicale apache2-utils python3-bcrypt gnome-keyring)
  # A headless Wayland compositor, its screenshots and its keys.
  packages+=(sway grim wtype)
fi
# The start-up benchmark's window timer and clicker (bench/winstart.c).
if [ "${1:-}" = "--bench" ]; then
  packages+=(gcc libx11-dev libxdamage-dev libxtst-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

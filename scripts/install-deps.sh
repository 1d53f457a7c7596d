#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those that are missing,
# so that a build on a machine that has them all never asks anything and never touches apt.
# Usage: install-deps.sh [windows]   (with "windows": also the cross compiler and Wine)
set -euo pipefail

packages=(
  cmake g++ make pkg-config clang-format clang-tidy
  libsfml-dev libopenal-dev libfreetype-dev libtomlplusplus-dev
  libboost1.81-dev libboost-locale1.81-dev nlohmann-json3-dev libqrcodegencpp-dev gettext
  googletest libgtest-dev libbenchmark-dev
  fonts-yanone-kaffeesatz
  xvfb xauth xdotool x11-xserver-utils x11-utils libx11-dev libxtst-dev libglx-dev imagemagick desktop-file-utils
  dpkg-dev lintian appstream
  zbar-tools chromium chromium-driver webkit2gtk-driver python3-selenium python3-websockets iproute2
)
if [ "${1:-}" = windows ]; then
  # dpkg-dev unpacks the source packages that the Windows libraries are built from. Mesa and
  # the X libraries are only recommended by Wine, yet without them it draws no window.
  packages+=(
    g++-mingw-w64-x86-64-posix xz-utils
    wine wine64 libgl1-mesa-dri libglx-mesa0
    libxrandr2 libxi6 libxcursor1 libxinerama1 libxrender1
  )
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

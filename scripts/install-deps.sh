#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing the wizard need, when any
# of them is missing. Run as root (apt-get).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config clang-format zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins
  xvfb xauth fonts-dejavu-core fonts-wine strace xdotool imagemagick librsvg2-bin
  gcc-mingw-w64-x86-64 gcc-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  # the Windows build, its tests under Wine and its setup program (never wine32: it breaks wine)
  g++-mingw-w64-x86-64 libz-mingw-w64-dev googletest wine wine64 nsis locales
)
if [ "${1:-}" = "--with-fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# Wine takes the ANSI code page of its Windows from the locale: en_US gives code page 1252, as on
# a Western European Windows. The locale must exist for Wine to read UTF-8 command lines.
if ! locale -a 2>/dev/null | grep -qx 'en_US.utf8'; then
  localedef -i en_US -f UTF-8 en_US.UTF-8
fi

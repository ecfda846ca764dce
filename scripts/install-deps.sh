#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Merovan needs.
# Quiet and quick when everything is already there.
set -euo pipefail

PACKAGES=(
  # toolchain; clang and libFuzzer's runtime build the fuzz targets, clang-format checks the style
  cmake ninja-build g++ pkg-config clang libclang-rt-14-dev clang-format
  # libraries
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libqt6svg6 qt6-translations-l10n libgl-dev
  libpugixml-dev libzip-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick fonts-dejavu-core unzip python3 poppler-utils
  desktop-file-utils libxml2-utils
  # the package checks
  dpkg-dev lintian appstream man-db
  # office suite for the Word, Excel and PDF reports, and its SDK
  libreoffice-writer-nogui libreoffice-calc-nogui libreoffice-dev
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

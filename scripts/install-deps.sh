#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Merovan need.
# Quiet and quick when everything is already there.
#   --run   only what building and running the program need: no test tools,
#           no package checks, no office suite SDK (without it the Word, Excel
#           and PDF conversions are not built)
set -euo pipefail

RUN_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libqt6svg6 qt6-translations-l10n libgl-dev
  libpugixml-dev libzip-dev
)
PACKAGES=(
  "${RUN_PACKAGES[@]}"
  # clang and libFuzzer's runtime build the fuzz targets, clang-format checks the style
  clang libclang-rt-14-dev clang-format
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick fonts-dejavu-core unzip python3 poppler-utils
  desktop-file-utils libxml2-utils
  # the package checks
  dpkg-dev lintian appstream man-db
  # office suite for the Word, Excel and PDF reports, and its SDK
  libreoffice-writer-nogui libreoffice-calc-nogui libreoffice-dev
)

[ "${1:-}" = --run ] && PACKAGES=("${RUN_PACKAGES[@]}")

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

#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing the program needs.
# With --list it only prints the list (scripts/check-deps.sh compares the build against it).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-private-dev qt6-charts-dev libqt6opengl6-dev libgl-dev qt6-translations-l10n qt6-l10n-tools
  libsqlcipher-dev sqlcipher sqlite3
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-dejavu-extra xdg-utils
  xvfb xauth xdotool imagemagick poppler-utils
  clang-format
)
if [ "${1:-}" = "--list" ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

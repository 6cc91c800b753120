#!/usr/bin/env bash
# Installs what building and testing Orvalin needs on Debian 12. Quick when all is there.
set -euo pipefail

packages=(
  g++ clang cmake ninja-build pkg-config
  qt6-base-dev libgl1-mesa-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth imagemagick
  libclang-rt-14-dev clang-tidy
  python3 python3-icalendar dpkg-dev file
  tzdata fonts-dejavu-core desktop-file-utils
  help2man appstream lintian bash-completion
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"

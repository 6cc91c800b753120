#!/usr/bin/env bash
# Installs what building and testing Orvalin needs on Debian 12; with --programs, only what
# building and running the programs needs. Quick when all is there.
set -euo pipefail

programs=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libgl1-mesa-dev
  tzdata fonts-dejavu-core
)
development=(
  clang libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth imagemagick
  libclang-rt-14-dev clang-tidy
  python3 python3-icalendar khal dpkg-dev file
  desktop-file-utils help2man appstream lintian bash-completion
)

packages=("${programs[@]}")
[ "${1:-}" = "--programs" ] || packages+=("${development[@]}")

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

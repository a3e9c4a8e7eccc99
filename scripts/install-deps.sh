#!/bin/sh
# Installs the Debian packages the build, the tests and the program need.
# Idempotent: installs only what is missing; does nothing when all is there.
set -eu

PACKAGES="
build-essential cmake ninja-build pkg-config
libgtest-dev libgmock-dev libbenchmark-dev
libsdl2-dev libdbus-1-dev libpng-dev zlib1g-dev liblzma-dev libvorbisidec-dev
libfreetype-dev fonts-dejavu-core
libcurl4-openssl-dev
libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
gstreamer1.0-plugins-base gstreamer1.0-plugins-good
gstreamer1.0-plugins-bad gstreamer1.0-plugins-ugly gstreamer1.0-tools
fluid-soundfont-gm
xvfb xauth
clang libclang-rt-14-dev
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

echo "installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing

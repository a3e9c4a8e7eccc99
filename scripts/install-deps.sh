#!/bin/sh
# Installs the Debian packages the build, the tests and the program need.
# Idempotent: installs only what is missing; does nothing when all is there.
set -eu

PACKAGES="
build-essential
ccache
clang
cmake
fluid-soundfont-gm
fonts-dejavu-core
gstreamer1.0-plugins-bad
gstreamer1.0-plugins-base
gstreamer1.0-plugins-good
gstreamer1.0-plugins-ugly
gstreamer1.0-tools
libbenchmark-dev
libclang-rt-14-dev
libcurl4-openssl-dev
libdbus-1-dev
libfreetype-dev
libgmock-dev
libgstreamer-plugins-base1.0-dev
libgstreamer1.0-dev
libgtest-dev
liblzma-dev
libpixman-1-dev
libpng-dev
libsdl2-dev
libvorbisidec-dev
libx11-dev
libxtst-dev
lld
ninja-build
pkg-config
xauth
xvfb
zlib1g-dev
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

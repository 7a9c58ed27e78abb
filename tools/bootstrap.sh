#!/bin/sh
# Installs the Debian packages the build, the tests and the demo need.
# Does nothing when everything is already there.
set -eu

PACKAGES="cmake make g++ googletest libgtest-dev
g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
wine wine64 xvfb xauth x11-utils imagemagick sox espeak-ng
clang libclang-rt-14-dev libbenchmark-dev chromium
libre-dev librem-dev libspeexdsp-dev pkg-config sip-tester baresip python3"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "bootstrap: installing$missing"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null

#!/usr/bin/env bash
# Installs the packages QLT needs to be built and tested on Debian 12: the mingw-w64 cross compilers,
# Wine (with its 32-bit half), Xvfb and xdotool for the virtual display and user input, ImageMagick
# for screenshots, a CJK font so the Chinese captions render, and Wine's own fonts (Marlett draws the
# caption buttons' glyphs). Installs only what is missing.
set -euo pipefail

packages=(wine wine32:i386 wine64 g++-mingw-w64-i686 xvfb xdotool imagemagick x11-utils
          fonts-wqy-microhei fonts-wine cmake g++ clang libbenchmark-dev googletest make)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# /usr/src/googletest comes with the googletest package; clang's fuzzer and sanitizer runtimes
# come with clang on Debian 12.
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"

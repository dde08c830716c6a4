#!/usr/bin/env bash
# Installs the Debian packages the program needs, only those that are missing.
#   scripts/setup.sh          packages to build and run
#   scripts/setup.sh --tests  also those the test suite needs
#   scripts/setup.sh --package  also those that build and check the Debian package
set -euo pipefail

# help2man writes the manual page from --help at build time; Qt's Japanese
# translations and its Wayland plugin are what the installed program uses;
# libxcb asks the X server whether a key is still held; Little CMS converts
# pictures with a colour profile to sRGB, libheif reads HEIC and AVIF photos,
# and qpdf attaches a picture's profile to the exported PDF.
packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
          qt6-image-formats-plugins libgl-dev libqt6opengl6-dev fonts-noto-cjk libtiff-dev
          libjpeg-dev help2man qt6-translations-l10n qt6-wayland
          pkg-config libcairo2-dev libpng-dev zlib1g-dev libxcb1-dev
          liblcms2-dev libheif-dev libqpdf-dev)
case "${1:-}" in
--tests)
    packages+=(cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils xvfb xauth
               clang-format-14 clang libclang-rt-14-dev)
    # The label sheet database that the label sheet tests read.
    packages+=(glabels-data)
    # Real keys, pointer and a window manager on the virtual X server, for
    # the tests of what only X11 does (key repeat, focus, drag and drop).
    packages+=(xdotool openbox)
    # Colour profiles to test pictures with, and a HEIC/AVIF encoder.
    packages+=(colord-data libgs-common libheif-examples)
    ;;
--package)
    packages+=(dpkg-dev desktop-file-utils appstream man-db weston file)
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null

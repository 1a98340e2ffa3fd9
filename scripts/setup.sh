#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the window need. Safe to run again:
# it asks apt only for what is missing.
set -euo pipefail

# locales-all: the number and date tests switch to de_DE.UTF-8 and fail without it.
# poppler-utils: the sample job test reads the printed pages with pdftotext.
# clang-format: the test command fails on C++ files that are not formatted.
packages=(cmake g++ make locales-all libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-qpa-plugins libqt6printsupport6 qt6-svg-dev fonts-liberation
          dpkg-dev fakeroot lintian desktop-file-utils appstream libxml2-utils
          shared-mime-info fontconfig groff-base man-db poppler-utils
          clang libclang-rt-14-dev clang-format)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -q
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

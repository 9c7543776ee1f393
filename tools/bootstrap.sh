#!/usr/bin/env bash
# Installs every Debian package the build and the tests need that is not
# there yet. Idempotent: a machine that has them all is left as it is.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 fonts-wine xvfb x11-apps imagemagick
    zip unzip
    iproute2
    clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "bootstrap: all packages present"
    exit 0
fi

echo "bootstrap: installing ${missing[*]}"
if [ "$(id -u)" != 0 ]; then
    echo "bootstrap: must run as root to install packages" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"

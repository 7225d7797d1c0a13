#!/usr/bin/env bash
# Installs everything Corvane needs to build and test on a fresh Debian 12 machine (as root).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config clang-format
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev libinih-dev libpng-dev nlohmann-json3-dev
    python3 python3-jsonschema help2man tmux
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine64 fonts-wine
    xvfb x11-apps imagemagick
    libfuse3-dev fuse3 f3 util-linux
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# The 32-bit Wine loader for the 32-bit test suite.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need_update=1
fi
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" || missing+=(wine32:i386)

if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    if [ ${#missing[@]} -gt 0 ]; then
        echo "setup: installing ${missing[*]}"
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
fi
echo "setup: all build and test packages are installed"

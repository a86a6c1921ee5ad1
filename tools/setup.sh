#!/usr/bin/env bash
# Installs what is missing on a Debian or Ubuntu machine, then configures and builds into build/.
# Usage: bash tools/setup.sh [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
    libbenchmark-dev
    # the end-to-end tests drive the real program on a virtual X server
    xvfb xauth xdotool x11-utils xclip openbox dbus-x11 at-spi2-core python3-pyatspi
    # the width of a title as the window manager draws it
    gir1.2-pango-1.0
    fonts-dejavu-core
    # and one under the Orca screen reader, its speech captured as text
    orca speech-dispatcher
    # and one of them under a headless Wayland compositor, with Qt's Wayland plugin
    weston qt6-wayland
    # validation of the desktop entry and metainfo, and the .deb package
    desktop-file-utils appstream dpkg-dev file lintian
    # the format check of the C++ sources against .clang-format
    clang-format
)

bash tools/install-missing.sh "${packages[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the program needs on Debian 12, builds it, and then starts
# it (run), runs its tests (test), or runs the tests once more in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer (sanitize).
set -euo pipefail
cd "$(dirname "$0")"

usage() {
    echo "usage: $0 run|test|sanitize" >&2
    exit 2
}

packages=(
    build-essential cmake pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libsimpleini-dev
    qt6-base-dev
    libx11-dev
    libespeak-ng-dev espeak-ng-data
    libspeechd-dev speech-dispatcher speech-dispatcher-espeak-ng
    libopenal-dev libpulse-dev
    liblouis-data
    libbrlapi-dev brltty
    xvfb xauth xdotool
    # A Wayland desktop: a headless compositor, its key injector, Qt's plugin.
    sway wtype qt6-wayland
    debhelper dpkg-dev fakeroot lintian appstream desktop-file-utils man-db
    clang libclang-rt-14-dev
    # The screen reader beside the program, in a desktop session of its own.
    orca openbox at-spi2-core dbus pulseaudio pulseaudio-utils x11-xkb-utils python3 libglib2.0-bin
    # The peers of bench/heard/heard.sh, a by-hand benchmark.
    espeak-ng python3-speechd
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "$0: installing packages needs root; run as root or install sudo" >&2
        exit 1
    fi
}

install_packages() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

jobs=$(nproc 2>/dev/null || echo 2)

build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dir" -j"$jobs"
}

run_tests() {
    # Widget tests need no display; end-to-end tests start their own.
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure -j"$jobs"
}

[ $# -eq 1 ] || usage
case "$1" in
run)
    install_packages
    build build -DORBELA_TESTS=OFF -DORBELA_BENCHMARKS=OFF
    cd build/bin
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        exec ./orbela
    fi
    echo "No display found: starting the terminal front-end (orbela --tty)." >&2
    exec ./orbela --tty
    ;;
test)
    install_packages
    build build
    run_tests build
    ;;
sanitize)
    install_packages
    build build-sanitize -DORBELA_SANITIZE=ON -DORBELA_BENCHMARKS=OFF
    LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0" run_tests build-sanitize
    ;;
*)
    usage
    ;;
esac

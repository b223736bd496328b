#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a copy of the source tree with
# dpkg-buildpackage, checks its contents and lintian (no error), installs it
# (with apt on this machine when run as root, else unpacked into a scratch
# root), and plays the winning walkthrough with the installed
# `orbela --tty --quiet` from a fresh home folder that holds none of the
# data files. The settings must land in ~/.config/orbela/orbela.ini and
# nothing beside the executable. Then --data-home and the desktop window as
# the menu entry starts them.
#
# usage: deb_package.sh SOURCE_DIR WORK_DIR VERSION WINNING_COMMANDS
set -euo pipefail
source_dir=$1
work=$2
version=$3
commands=$4

fail() {
    echo "FAIL: $*"
    exit 1
}
# shellcheck source=../support/xvfb_program.sh
. "$(dirname "$0")/../support/xvfb_program.sh"
for tool in dpkg-buildpackage dh lintian fakeroot; do
    command -v "$tool" >/dev/null || fail "$tool is missing (build.sh installs it)"
done

installed_here=no
cleanup() {
    if [ "$installed_here" = yes ]; then
        dpkg --purge orbela >/dev/null 2>&1 || echo "could not remove the installed package orbela"
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# A fixed work folder (in the build tree) lets ccache reuse objects when
# the test runs again.
rm -rf "$work"
mkdir -p "$work/orbela"
tar -C "$source_dir" --exclude=./.git --exclude='./build*' --exclude='./obj-*' --exclude=./out \
    --exclude=./debian/orbela --exclude=./debian/.debhelper -cf - . | tar -C "$work/orbela" -xf -

changelog_version=$(cd "$work/orbela" && dpkg-parsechangelog -S Version)
[ "$changelog_version" = "$version" ] ||
    fail "debian/changelog says $changelog_version, the project's version is $version"

echo "building the package..."
if ! (cd "$work/orbela" &&
    DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1; then
    tail -n 60 "$work/build.log"
    fail "dpkg-buildpackage failed"
fi
deb=$(ls "$work"/orbela_"$version"_*.deb)
echo "built $(basename "$deb")"

# The package holds the program, its data and the desktop's files.
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/games/orbela ./usr/share/orbela/sounds.dat ./usr/share/orbela/czech.ebt \
    ./usr/share/orbela/czech.eky ./usr/share/orbela/english.eky ./usr/share/orbela/slovak.eky \
    ./usr/share/orbela/alsoft.conf ./usr/share/applications/org.orbela.Orbela.desktop \
    ./usr/share/icons/hicolor/scalable/apps/org.orbela.Orbela.svg \
    ./usr/share/metainfo/org.orbela.Orbela.metainfo.xml ./usr/share/man/man6/orbela.6.gz \
    ./usr/share/doc/orbela/copyright; do
    grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done

# What the desktop features need comes with the package or is recommended;
# the voice data comes through the speech library's own dependency.
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
suggests=$(dpkg-deb -f "$deb" Suggests)
grep -q 'libespeak-ng1' <<<"$depends" || fail "Depends lacks the speech library: $depends"
grep -q 'espeak-ng-data' <<<"$depends" && fail "Depends names espeak-ng-data, which libespeak-ng1 brings: $depends"
for package in speech-dispatcher speech-dispatcher-espeak-ng qt6-wayland brltty xbrlapi; do
    grep -qE "(^|, )$package(,|$| )" <<<"$recommends" || fail "Recommends lacks $package: $recommends"
done
grep -qE '(^|, )orca(,|$| )' <<<"$suggests" || fail "Suggests lacks orca: $suggests"
grep -q 'libbrlapi' <<<"$depends" || fail "the program was built without the braille display: $depends"
# The README and the list of keys are documentation.
for doc in README.md keys.en.txt keys.cs.txt keys.sk.txt; do
    grep -qE "^\./usr/share/doc/orbela/$doc(\.gz)?$" <<<"$contents" || fail "the package lacks the documentation $doc"
done
grep -q 'warning: ignoring return value' "$work/build.log" && fail "the build warns: $(grep -m2 'warning:' "$work/build.log")"

lintian_status=0
lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1 || lintian_status=$?
cat "$work/lintian.txt"
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors"

# Install: into this machine when allowed (an orbela package already there
# is left alone), else into a scratch root, which also tries a moved prefix.
if [ "$(id -u)" -eq 0 ] && ! dpkg-query -W -f='${Status}' orbela 2>/dev/null | grep -q 'ok installed'; then
    installed_here=yes
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb" >"$work/install.log" 2>&1 ||
        { cat "$work/install.log"; fail "apt-get could not install the package"; }
    prefix=/usr
    echo "installed on this machine with apt-get"
else
    dpkg-deb -x "$deb" "$work/root"
    prefix=$work/root/usr
    echo "unpacked into the scratch root $work/root"
fi
program=$prefix/games/orbela
before_bin=$(ls -A "$prefix/games")
before_data=$(ls -A "$prefix/share/orbela")

home=$work/home
mkdir -p "$home"
run_installed() {
    (cd "$home" && env -i HOME="$home" PATH=/usr/bin:/bin LC_ALL=C.UTF-8 ALSOFT_DRIVERS=null "$program" "$@")
}

version_text=$("$program" --version) || fail "--version failed"
[ "$(head -n 1 <<<"$version_text")" = "orbela $version" ] || fail "--version does not print orbela $version"
"$(dirname "$0")/manual_options.sh" "$program" "$prefix/share/man/man6/orbela.6.gz" ||
    fail "the installed manual page does not match --help"

status=0
run_installed --tty --quiet <"$commands" >"$work/out.txt" 2>"$work/err.txt" || status=$?
show() {
    echo "--- stdout (last 20 lines)"; tail -n 20 "$work/out.txt"
    echo "--- stderr"; cat "$work/err.txt"
}
[ "$status" -eq 0 ] || { show; fail "the installed program exited with $status"; }
[ "$(tail -n 1 "$work/out.txt")" = "hotovo" ] || { show; fail "the walkthrough did not end with hotovo"; }
[ -s "$work/err.txt" ] && { show; fail "the installed program reported errors"; }
[ -f "$home/.config/orbela/orbela.ini" ] || fail "no settings in ~/.config/orbela/orbela.ini"
grep -qi '^\[voice\]' "$home/.config/orbela/orbela.ini" || fail "the settings file holds no [voice] section"
[ "$(stat -c %s "$home/ram.dat")" -eq 65536 ] || fail "no 65,536-byte ram.dat in the current directory"
[ "$(ls -A "$prefix/games")" = "$before_bin" ] || fail "something was written beside the executable"
[ "$(ls -A "$prefix/share/orbela")" = "$before_data" ] || fail "something was written to the data folder"
echo "walkthrough won with the installed program: $(wc -l <"$work/out.txt") lines"

# As the desktop entry starts it: the memory image in the per-user data
# folder, not in the current directory.
rm -f "$home/ram.dat"
run_installed --tty --quiet --data-home </dev/null >"$work/out2.txt" 2>"$work/err2.txt" ||
    { cat "$work/err2.txt"; fail "--data-home run failed"; }
[ -f "$home/.local/share/orbela/ram.dat" ] || fail "--data-home wrote no ram.dat in ~/.local/share/orbela"
[ -e "$home/ram.dat" ] && fail "--data-home wrote ram.dat into the current directory"
grep -q '^Exec=orbela --data-home$' "$prefix/share/applications/org.orbela.Orbela.desktop" ||
    fail "the desktop entry does not start the program with --data-home"
# The desktop window as the menu entry starts it, under Xvfb: it reaches an
# idle main window, which a missing data file's alert would prevent.
if command -v Xvfb >/dev/null; then
    rm -rf "$home/.local/share/orbela"
    export program home
    (cd "$home" && run_under_xvfb timeout 120 env HOME="$home" LC_ALL=C.UTF-8 ALSOFT_DRIVERS=null \
        ORBELA_STARTUP_PROBE=1 bash -c '
        "$0" --data-home 2>"$1" &
        pid=$!
        for _ in $(seq 180); do
            grep -q "^orbela-startup-idle" "$1" && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.5
        done
        kill "$pid" 2>/dev/null
        wait "$pid"
        true' "$program" "$work/desktop-err.txt") || true
    grep -q '^orbela-startup-idle' "$work/desktop-err.txt" ||
        { cat "$work/desktop-err.txt"; fail "the installed desktop window did not come up idle"; }
    [ -d "$home/.local/share/orbela" ] || fail "the desktop start did not use ~/.local/share/orbela"
    [ "$(ls -A "$prefix/games")" = "$before_bin" ] ||
        fail "the desktop wrote something beside the executable"
    echo "the installed desktop window came up idle"
    # From the menu entry, as an unprivileged player with no screen reader:
    # the greeting, Help / Keys and a broken data folder, all heard.
    exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/org.orbela.Orbela.desktop")
    read -r -a entry <<<"$exec_line"
    [ "${entry[0]}" = orbela ] || fail "the desktop entry starts ${entry[0]}, not orbela"
    "$(dirname "$0")/../shell/qt/xvfb_first_start.sh" "$program" "${entry[@]:1}" ||
        fail "the installed program's first start was not heard"
else
    fail "Xvfb is missing (build.sh installs it)"
fi
echo "package built, lintian clean, installed and played"

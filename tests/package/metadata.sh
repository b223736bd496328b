#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop entry and the AppStream metadata as the desktop's own tools
# check them, and the manual page as man formats it, without warnings.
# usage: metadata.sh SOURCE_PACKAGING_DIR BUILT_PACKAGING_DIR
set -euo pipefail
source_dir=$1
built_dir=$2
for tool in desktop-file-validate appstreamcli man; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (build.sh installs it)"; exit 1; }
done
desktop-file-validate "$source_dir/org.orbela.Orbela.desktop"
appstreamcli validate --no-net --explain "$built_dir/org.orbela.Orbela.metainfo.xml"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$built_dir/orbela.6" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "FAIL: the manual page has warnings:"; echo "$warnings"; exit 1; }
grep -q '^\.TH ORBELA 6 .*"orbela [0-9]' "$built_dir/orbela.6" || { echo "FAIL: no version in the manual page"; exit 1; }
echo "desktop entry, AppStream metadata and manual page are valid"

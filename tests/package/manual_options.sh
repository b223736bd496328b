#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual page describes every option that --help lists, and has the
# sections a reader looks for, so the two cannot drift apart unnoticed.
# usage: manual_options.sh PROGRAM MANUAL_PAGE
set -euo pipefail
program=$1
manual=$2
command -v man >/dev/null || { echo "FAIL: man is missing (build.sh installs it)"; exit 1; }

formatted=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$manual" 2>/dev/null | col -b)
# Option names as --help prints them at the start of its lines.
options=$("$program" --help | grep -oE '^ +(-[A-Za-z], )?--[a-z-]+' | grep -oE -- '--?[A-Za-z-]+' | sort -u)
[ "$(wc -l <<<"$options")" -ge 8 ] || { echo "FAIL: too few options read from --help: $options"; exit 1; }
missing=()
while read -r option; do
    # Each option stands at the head of its own paragraph in OPTIONS.
    grep -qE -- "^ +(-[A-Za-z], )?${option}([ =,]|$)" <<<"$formatted" || missing+=("$option")
done <<<"$options"
[ ${#missing[@]} -eq 0 ] || { echo "FAIL: the manual page lacks ${missing[*]}"; exit 1; }
for section in SYNOPSIS OPTIONS ENVIRONMENT FILES "EXIT STATUS" "SEE ALSO"; do
    grep -qx "$section" <<<"$formatted" || { echo "FAIL: the manual page has no $section section"; exit 1; }
done
echo "the manual page describes all $(wc -l <<<"$options") options of --help"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Inside a session bus (dbus-run-session): starts the accessibility bus as
# a desktop session does, with no screen reader on it, waits until it
# answers, runs "$@" and stops the bus again. Returns the command's status.
set -uo pipefail
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
trap 'kill $launcher 2>/dev/null' EXIT
for ((i = 0; i < 50; i++)); do
    gdbus introspect --session --dest org.a11y.Bus --object-path /org/a11y/bus >/dev/null 2>&1 && break
    sleep 0.1
done
"$@"

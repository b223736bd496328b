#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The executable's answers to its command line: --version and --help on
# standard output with exit 0, a write error on standard output reported
# with exit 1, and an unknown option (long or short) or a stray argument
# rejected with a hint and exit 2 before anything starts.
set -uo pipefail
program=$1/orbela
expected_version=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# run ARGS...: sets status, out and err.
run() {
    timeout 20 "$program" "$@" >"$work/out" 2>"$work/err" </dev/null
    status=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
}

for option in --version -V; do
    run "$option"
    [ "$status" -eq 0 ] || fail "$option: exit $status"
    [ "$(head -n 1 <<<"$out")" = "orbela $expected_version" ] || fail "$option: first line '$(head -n 1 <<<"$out")'"
    grep -q '^Copyright (C) ' <<<"$out" || fail "$option: no copyright line"
    grep -q 'GPL-3.0-or-later' <<<"$out" || fail "$option: no licence line"
    [ -z "$err" ] || fail "$option: wrote to standard error: $err"
done

run --help
[ "$status" -eq 0 ] || fail "--help: exit $status"
grep -q '^Usage: orbela \[OPTION\]' <<<"$out" || fail "--help: no usage line"

for option in --help --version; do
    timeout 20 "$program" "$option" >/dev/full 2>"$work/err"
    status=$?
    [ "$status" -eq 1 ] || fail "$option >/dev/full: exit $status"
    grep -q '^orbela: write error: No space left on device$' "$work/err" || fail "$option >/dev/full: '$(cat "$work/err")'"
done

for arguments in "-x" "-V -x" "--bogus" "--tty=1" "stray" "-platform"; do
    # shellcheck disable=SC2086
    run $arguments
    [ "$status" -eq 2 ] || fail "'$arguments': exit $status"
    grep -q "^Try 'orbela --help' for more information.$" <<<"$err" || fail "'$arguments': no hint: $err"
    [ -z "$out" ] || fail "'$arguments': wrote to standard output"
done
run -x
grep -q "^orbela: invalid option -- 'x'$" <<<"$err" || fail "-x: '$err'"
run --bogus
grep -q "^orbela: unrecognized option '--bogus'$" <<<"$err" || fail "--bogus: '$err'"

[ "$failures" -eq 0 ] || exit 1
echo "command line: all answers as expected"

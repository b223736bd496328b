#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The player's own files, met by the real program: a ram.dat it cannot read
# whole (unreadable, longer than the image) is reported and left as it was;
# files that merely look like temporary ones survive a start; a limit on
# file size, a read-only file and a file owned by someone else give a
# message with the reason and lose nothing; a relative HOME never puts the
# settings inside the data folder. Permission cases run as nobody (when the
# test runs as root; otherwise as the user running it, skipping the cases
# that need a second owner).
set -euo pipefail
program_dir=$1
# The game's pauses made instant for the program (not for this script).
shim=$2

work=$(mktemp -d)
trap 'chmod -R u+rwX "$work" 2>/dev/null; rm -rf "$work"' EXIT
cp -r "$program_dir"/. "$work"/
rm -f "$work"/*.ini "$work"/ram.dat "$work"/*_tests
cd "$work"

fail() {
    echo "FAIL: $*"
    echo "--- stderr"; cat err.txt 2>/dev/null || true
    exit 1
}

as_root=false
[ "$(id -u)" -eq 0 ] && as_root=true
# The folder belongs to the player, who runs the program.
if $as_root; then
    chown -R 65534:65534 "$work"
    chmod 755 "$work"
fi
player() {
    if $as_root; then
        setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
    else
        "$@"
    fi
}
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
# One short game; status in $status, messages in err.txt.
play() {
    status=0
    printf 'situace\n' | player env LD_PRELOAD="$shim" ./orbela --tty --quiet >out.txt 2>err.txt || status=$?
}
english() { printf '[environment]\nlanguage=2000\n' >orbela.ini; $as_root && chown 65534:65534 orbela.ini; true; }

# 1. An unreadable ram.dat: reported at start, refused at exit, untouched.
english
head -c 1000 /dev/urandom >ram.dat
cp ram.dat before.dat
$as_root && chown 65534:65534 ram.dat before.dat
chmod 0200 ram.dat
inode=$(stat -c %i ram.dat)
play
grep -q "^orbela: Unable to read $work/ram.dat: permission denied\$" err.txt || fail "the unreadable file was not reported"
grep -q "^orbela: Unable to write to $work/ram.dat: it could not be read whole at start and is kept as it is\$" err.txt ||
    fail "the save to the unreadable file was not refused with its reason"
[ "$status" -eq 1 ] || fail "exit status $status after a refused save"
[ "$(stat -c %i ram.dat)" = "$inode" ] || fail "the unreadable ram.dat was replaced"
chmod 0600 ram.dat
cmp -s ram.dat before.dat || fail "the unreadable ram.dat was changed"

# 2. A ram.dat longer than the image, in the interface's own language
# (Czech by default): kept whole.
rm -f orbela.ini
head -c 100000 /dev/urandom >ram.dat
cp ram.dat before.dat
play
grep -q "^orbela: Unable to read $work/ram.dat: je delší než 65536 bajtů, a proto zůstává, jak je\$" err.txt ||
    fail "the over-long file was not reported in Czech"
grep -q "^orbela: Unable to write to $work/ram.dat: je delší než 65536 bajtů" err.txt || fail "the save was not refused"
cmp -s ram.dat before.dat || fail "the over-long ram.dat was cut"

# 3. The player's files that look like temporary names survive a start; the
# program's own leftover of a killed save does not.
english
rm -f ram.dat
for name in .ram.dat.backup .ram.dat.Before .orbela.ini.Notes1 .ram.dat.X3kq9Z; do echo mine >"$name"; done
echo half >.ram.dat.orbela-save-Ab3xZ9
$as_root && chown 65534:65534 .ram.dat.* .orbela.ini.*
play
[ "$status" -eq 0 ] || fail "exit status $status of a plain run"
for name in .ram.dat.backup .ram.dat.Before .orbela.ini.Notes1 .ram.dat.X3kq9Z; do
    [ "$(cat "$name")" = mine ] || fail "the player's $name was removed"
done
[ ! -e .ram.dat.orbela-save-Ab3xZ9 ] || fail "a killed save's temporary file was left"

# 4. A limit on file size: a message with the reason, not death by SIGXFSZ;
# the old file whole, no temporary file left.
head -c 1000 /dev/urandom >ram.dat
cp ram.dat before.dat
$as_root && chown 65534:65534 ram.dat
status=0
printf 'situace\n' | player env LD_PRELOAD="$shim" bash -c 'ulimit -f 32; exec ./orbela --tty --quiet' >out.txt 2>err.txt || status=$?
[ "$status" -eq 1 ] || fail "exit status $status under a file-size limit (153 is death by SIGXFSZ)"
grep -q "^orbela: Unable to write to $work/ram.dat: the file would be larger than the limit on file size\$" err.txt ||
    fail "the file-size limit was not given as the reason"
cmp -s ram.dat before.dat || fail "ram.dat changed under a file-size limit"
[ -z "$(find . -maxdepth 1 -name '.ram.dat.orbela-save-*')" ] || fail "a temporary file was left"

if $as_root; then
    # 5. A read-only ram.dat of another owner in the player's writable
    # folder: refused, owner and content kept.
    head -c 1000 /dev/urandom >ram.dat
    cp ram.dat before.dat
    chown 0:0 ram.dat
    chmod 0444 ram.dat
    play
    grep -q "^orbela: Unable to write to $work/ram.dat: the file is read-only\$" err.txt ||
        fail "the read-only file was not refused"
    [ "$(stat -c %U:%G:%a ram.dat)" = root:root:444 ] || fail "the read-only file became $(stat -c %U:%G:%a ram.dat)"
    cmp -s ram.dat before.dat || fail "the read-only file was changed"
    # Read-only to root as well, by its mode.
    status=0
    printf 'situace\n' | LD_PRELOAD="$shim" ./orbela --tty --quiet >out.txt 2>err.txt || status=$?
    grep -q "Unable to write to $work/ram.dat: the file is read-only" err.txt || fail "root replaced a read-only file"
    cmp -s ram.dat before.dat || fail "root changed the read-only file"

    # 6. A file the player may write through its group but does not own:
    # saved, and still root's with its mode.
    chown 0:65534 ram.dat
    chmod 0664 ram.dat
    play
    [ "$status" -eq 0 ] || fail "the group-writable file was not saved (status $status)"
    [ "$(stat -c %U:%G:%a:%s ram.dat)" = root:nogroup:664:65536 ] ||
        fail "the saved file is now $(stat -c %U:%G:%a:%s ram.dat)"
    cmp -s -n 1000 ram.dat before.dat || fail "the group-writable file lost its bytes"

    # 7. A relative HOME is no home folder: nothing of the program lands
    # inside the data folder or below where it started; the account's own
    # home folder stands in (nobody's does not exist, so the run stops).
    mkdir -p start
    chown 65534:65534 start
    status=0
    (cd start && printf 'situace\n' | player env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME=relhome \
        "$work"/orbela --tty --quiet --data-home >../out.txt 2>../err.txt) || status=$?
    [ -z "$(find start -mindepth 1)" ] || fail "files were made below the starting folder: $(find start -mindepth 1)"
    grep -q "Cannot use the folder /nonexistent/.local/share/orbela" err.txt ||
        fail "the account's home folder was not used for a relative HOME"
fi
echo "the player's files are kept: unreadable, over-long, look-alike names, size limit, read-only, other owner, relative HOME"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a libFuzzer target for every reader of outside input, with clang
# under AddressSanitizer and UndefinedBehaviorSanitizer, and runs each for
# the given number of seconds (default 60), two at a time. Prints the
# executions of each target and fails when any target finds a fault (its
# input is kept in the findings folder).
#
#   bench/fuzz/run.sh [SECONDS] [TARGET...]
#
# ORBELA_FUZZ_DIR: work folder (default build-fuzz); ORBELA_FUZZ_JOBS: how
# many run at once (default 2). Corpora grow in the work folder and are
# used again by the next run.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
seconds="${1:-60}"
shift || true
work="${ORBELA_FUZZ_DIR:-$root/build-fuzz}"
jobs="${ORBELA_FUZZ_JOBS:-2}"
clang="${CLANGXX:-clang++}"

if ! command -v "$clang" >/dev/null; then
    echo "$0: $clang is not installed (apt-get install -y clang libclang-rt-14-dev)" >&2
    exit 1
fi

# Each target and the sources it needs besides its own file.
declare -A sources=(
    [sound_stream]="sound/sound_stream.cpp sound/wave.cpp sound/byte_reader.cpp text/cp1250.cpp"
    [braille_table]="keyboard/braille_table.cpp keyboard/braille_table_file.cpp"
    [character_names]="speech/character_names.cpp i18n/resource_localizer.cpp i18n/string_tables.cpp text/cp1250.cpp runtime/profile_integer.cpp"
    [configuration]="settings/ini_file.cpp settings/atomic_file.cpp text/cp1250.cpp runtime/profile_integer.cpp i18n/file_messages.cpp"
    [number_conversion]="runtime/number_conversion.cpp"
    [cp1250]="text/cp1250.cpp"
    [terminal_line]="shell/terminal/terminal_dialog.cpp text/cp1250.cpp"
)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(sound_stream braille_table character_names configuration number_conversion cp1250 terminal_line)

flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I "$root/src")
mkdir -p "$work/bin" "$work/findings" "$work/logs"

build_target() {
    local target=$1 files=()
    for file in ${sources[$target]}; do files+=("$root/src/$file"); done
    ${CMAKE_CXX_COMPILER_LAUNCHER:-} "$clang" "${flags[@]}" "$here/${target}_fuzzer.cpp" "${files[@]}" \
        -o "$work/bin/${target}_fuzzer"
}

# Seeds: the authored data files and a few small inputs.
seed() {
    local target=$1 corpus="$work/corpus/$1"
    mkdir -p "$corpus"
    case "$target" in
    sound_stream)
        for candidate in "$root"/build*/bin/sounds.dat; do
            [ -f "$candidate" ] && cp "$candidate" "$corpus/sounds.dat" && break
        done
        printf 'TPF0\030TWaveCollectionComponent\000\004List\016\001\004Name\006\001a\000\000\000\000' >"$corpus/one-name"
        printf 'TPF0\362\002\001\001C\000\000\000' >"$corpus/flags" ;;
    braille_table) cp "$root/data/czech.ebt" "$corpus/" ;;
    character_names) cp "$root"/data/*.eky "$corpus/" ;;
    configuration)
        printf '[voice]\nvoiceallowed=1\nperson=Anna\npitch=$10\n[sounds]\nsndvolume=-200\n' >"$corpus/ini" ;;
    number_conversion) printf -- '-12.5e3' >"$corpus/n1"; printf '3,14' >"$corpus/n2" ;;
    cp1250) printf 'P\370\355li\232 \236lu\273ou\350k\375 k\371\362' >"$corpus/text" ;;
    terminal_line) printf 'jdi na sever\r\nvezmi kl\303\255\304\215\n\351\n' >"$corpus/lines" ;;
    esac
}

run_target() {
    local target=$1 log="$work/logs/$1.log"
    mkdir -p "$work/findings/$target"
    (cd "$work/findings/$target" &&
        "$work/bin/${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 -max_len=65536 \
            -rss_limit_mb=2048 -timeout=10 "$work/corpus/$target" >"$log" 2>&1)
}

for target in "${targets[@]}"; do
    [ -n "${sources[$target]:-}" ] || { echo "$0: no target $target" >&2; exit 2; }
    build_target "$target"
    seed "$target"
done

failed=()
running=0
declare -A pids=()
for target in "${targets[@]}"; do
    run_target "$target" &
    pids[$target]=$!
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n || true
        running=$((running - 1))
    fi
done
for target in "${targets[@]}"; do
    wait "${pids[$target]}" 2>/dev/null || true
done

printf '%-20s %14s %8s %s\n' target executions seconds result
for target in "${targets[@]}"; do
    log="$work/logs/$target.log"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    if ls "$work/findings/$target" | grep -q . || [ -z "$runs" ]; then
        result="FAULT (see $log)"
        failed+=("$target")
    else
        result=ok
    fi
    printf '%-20s %14s %8s %s\n' "$target" "${runs:-?}" "${took:-?}" "$result"
done
[ ${#failed[@]} -eq 0 ]

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer target for the reader of "sounds.dat" with clang and
# runs it for the given number of seconds (default 60). Not part of the CMake
# build or of CI.
#
#   bench/fuzz/run.sh [SECONDS] [path/to/sounds.dat used as a seed]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
seconds="${1:-60}"
seed="${2:-}"
work="${ORBELA_FUZZ_DIR:-$root/build-fuzz}"
clang="${CLANGXX:-clang++}"

if ! command -v "$clang" >/dev/null; then
    echo "$0: $clang is not installed (apt-get install -y clang)" >&2
    exit 1
fi

mkdir -p "$work/corpus" "$work/findings"

"$clang" -std=c++20 -O1 -g -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$root/src" \
    "$here/sound_stream_fuzzer.cpp" \
    "$root/src/sound/sound_stream.cpp" \
    "$root/src/sound/wave.cpp" \
    "$root/src/sound/byte_reader.cpp" \
    "$root/src/runtime/cp1250.cpp" \
    -o "$work/sound_stream_fuzzer"

# Seeds: the authored file when given or found, and a few small streams.
if [ -z "$seed" ]; then
    for candidate in "$root"/build*/bin/sounds.dat; do
        [ -f "$candidate" ] && seed="$candidate" && break
    done
fi
if [ -n "$seed" ] && [ -f "$seed" ]; then
    cp "$seed" "$work/corpus/sounds.dat"
fi
printf 'TPF0\030TWaveCollectionComponent\000\004List\016\001\004Name\006\001a\000\000\000\000' >"$work/corpus/one-name"
printf 'TPF0\362\002\001\001C\000\000\000' >"$work/corpus/flags"

cd "$work/findings"
"$work/sound_stream_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
    -max_len=65536 -rss_limit_mb=2048 "$work/corpus" 2>&1 | tee "$work/last-run.log"

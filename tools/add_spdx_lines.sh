#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Adds the licence's SPDX line to every source file of the repository that
# lacks one: C++ sources and headers, shell scripts (after the #! line),
# CMake files and Python scripts. Safe to run again; it changes only files
# without the line.
#
# usage: tools/add_spdx_lines.sh [--check]
#   --check  change nothing; list the files without the line, exit 1 if any
set -euo pipefail
cd "$(dirname "$0")/.."

line='SPDX-License-Identifier: GPL-3.0-or-later'
check=no
[ "${1:-}" = --check ] && check=yes

comment_for() {
    case "$1" in
    *.cpp | *.h | *.hpp | *.cc) echo '//' ;;
    *.sh | *.py | *.cmake | */CMakeLists.txt | CMakeLists.txt | */rules | *.supp) echo '#' ;;
    *) return 1 ;;
    esac
}

missing=0
while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue
    marker=$(comment_for "$file") || continue
    head -n 5 "$file" | grep -q 'SPDX-License-Identifier:' && continue
    missing=$((missing + 1))
    if [ "$check" = yes ]; then
        echo "$file"
        continue
    fi
    temporary=$(mktemp "$file.XXXXXX")
    if head -n 1 "$file" | grep -q '^#!'; then
        { head -n 1 "$file"; echo "$marker $line"; tail -n +2 "$file"; } >"$temporary"
    else
        { echo "$marker $line"; cat "$file"; } >"$temporary"
    fi
    chmod --reference="$file" "$temporary"
    mv "$temporary" "$file"
done < <(git ls-files -z -- src tests tools bench data packaging debian CMakeLists.txt build.sh)

if [ "$check" = yes ]; then
    [ "$missing" -eq 0 ] || { echo "$missing files lack the SPDX line"; exit 1; }
else
    echo "added the SPDX line to $missing files"
fi

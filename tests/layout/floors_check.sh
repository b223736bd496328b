#!/bin/bash
# Every folder of src/ includes only its own headers and those of the
# floors below it (README, "Floors"); prints each include that reaches
# elsewhere and fails when there is one. Usage: floors_check.sh SOURCE_DIR
set -u
src="$1/src"
core="text i18n runtime"
# folder: the folders its files may include besides their own
declare -A allowed=(
    [text]=""
    [i18n]="text"
    [runtime]="text i18n"
    [settings]="$core"
    [hosted]="$core"
    [speech]="$core settings"
    [speech/espeak]="$core settings speech sound"
    [speech/speechd]="$core settings speech"
    [sound]="$core"
    [keyboard]="$core speech"
    [braille]="$core settings"
    [i18n/qt]="$core settings"
    [speech/qt]="$core settings speech i18n/qt"
    [sound/qt]="$core settings sound i18n/qt"
    [keyboard/qt]="$core settings keyboard speech i18n/qt"
    [braille/qt]="$core settings braille keyboard keyboard/qt i18n/qt"
)
status=0
for folder in "${!allowed[@]}"; do
    [ -d "$src/$folder" ] || { echo "no folder src/$folder"; status=1; continue; }
    for file in "$src/$folder"/*.h "$src/$folder"/*.cpp; do
        [ -e "$file" ] || continue
        while IFS= read -r line; do
            included=${line#\#include \"}
            included=${included%/*}
            [ "$included" = "$folder" ] && continue
            ok=0
            for permitted in ${allowed[$folder]}; do
                [ "$included" = "$permitted" ] && ok=1
            done
            if [ $ok = 0 ]; then
                echo "${file#"$src"/} includes ${line#\#include } above its floor"
                status=1
            fi
        done < <(grep -oE '^#include "[a-z0-9_/]+/[a-z0-9_]+\.h"' "$file")
    done
done
[ $status = 0 ] && echo "every include runs down the floors"
exit $status

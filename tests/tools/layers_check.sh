#!/usr/bin/env bash
# The layers of the library (docs/architecture.md): each folder includes only the folders it may
# use, text/ includes no Windows header, and comparison/ takes from recording/ only its
# generators and its buffer. Prints every include that breaks a rule; exit status 1 if any does.
set -euo pipefail
cd "$(dirname "$0")/../.."

declare -A may_use=(
    [text]=""
    [platform]="text"
    [kernel]="platform text"
    [common]="platform text"
    [recording]="common execution kernel platform text"
    [execution]="common kernel platform text"
    [comparison]="common kernel platform recording text"
    [helper]="common kernel platform text"
    [export]="common kernel platform text"
    [entry]="common comparison execution export helper kernel platform recording text"
)
recording_for_comparison=" attribute_fragments.h class_fragments.h structure_fragments.h "
recording_for_comparison+="fragment_writer.h recording_state.h script_item_list.h script_buffer_text.h "
recording_for_comparison+="whole_fragment.h "

broken=0
report() {
    echo "$1"
    broken=1
}

for folder in "${!may_use[@]}"; do
    for file in "$folder"/*.h "$folder"/*.cpp; do
        [ -e "$file" ] || continue
        while IFS= read -r used; do
            target=${used%%/*}
            [ "$target" = "$folder" ] && continue
            [[ " ${may_use[$folder]} " == *" $target "* ]] ||
                report "$file: $folder/ may not use $used"
            if [ "$folder" = comparison ] && [ "$target" = recording ]; then
                [[ $recording_for_comparison == *" ${used#recording/} "* ]] ||
                    report "$file: comparison/ takes only recording's generators and buffer, not $used"
            fi
        done < <(sed -nE 's/^#include "([a-z_]+\/[^"]+)".*/\1/p' "$file")
    done
done

for file in text/*; do
    if grep -qE '^#include <(windows|ole|objbase|oaidl|wtypes|combaseapi)' "$file"; then
        report "$file: text/ includes a Windows header"
    fi
done

exit $broken

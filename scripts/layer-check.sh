#!/usr/bin/env bash
# Fails when a file under src/ includes a header of a layer above its own. Each folder under
# src/ is one layer; an include names its layer first ("core/data/LogFile.h"). The table says
# which layers each layer may include (its own and those beneath it).
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
    [resources]="resources"
    [core]="resources core"
    [platform]="resources core platform"
    [pages]="resources core platform pages"
    [app]="resources core platform pages app"
    [qt]="resources core platform qt"
    [window]="resources core platform pages app qt window"
    [main]="resources core platform pages app qt window main"
)

status=0
while IFS= read -r file; do
    layer=${file#src/}
    layer=${layer%%/*}
    if [ -z "${allowed[$layer]+set}" ]; then
        echo "$file: not in a layer folder (add the folder to scripts/layer-check.sh)"
        status=1
        continue
    fi
    while IFS=: read -r line target; do
        included=${target%%/*}
        [ "$included" = "$target" ] && continue # a header beside the file or a generated one
        if [ -z "${allowed[$included]+set}" ]; then
            echo "$file:$line: includes \"$target\", which names no layer"
            status=1
        elif [[ " ${allowed[$layer]} " != *" $included "* ]]; then
            echo "$file:$line: the $layer layer includes \"$target\" from the $included layer above it"
            status=1
        fi
    done < <(grep -n '^#include "' "$file" | sed 's/^\([0-9]*\):#include "\([^"]*\)".*/\1:\2/')
done < <(git ls-files -- 'src/*.cpp' 'src/*.h')

if [ "$status" -eq 0 ]; then
    echo "layer check: every include points at its own layer or one beneath"
fi
exit "$status"

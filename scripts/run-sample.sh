#!/bin/sh
# Opens the editor on the bundled sample map. Beside the built program it
# writes a kzmap.ini that points at the sample game data, when there is none.
set -e
BIN=$(cd "${1:-build/bin}" && pwd)
SAMPLES=$(cd "$(dirname "$0")/../samples" && pwd)
INI="$BIN/kzmap.ini"
if [ ! -f "$INI" ]; then
    printf '%s\r\n' "$SAMPLES/kz/" "$SAMPLES/kzbase/" "$SAMPLES/game/" "$SAMPLES/work/" \
        "$SAMPLES/images/" "59" "00" > "$INI"
    echo "Wrote $INI for the sample data in $SAMPLES"
fi
exec "$BIN/vellumar" "$SAMPLES/kzbase/vlmrtest.bms"

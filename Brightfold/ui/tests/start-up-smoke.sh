#!/bin/sh
# Starts the application, waits until its window has drawn its first frame, then ends it.
# Fails when the program exits early, draws nothing within a minute, or its QML reports any
# problem (a missing QML module shows up here, not at build time).
set -u
app=$1
log=$(mktemp)
QT_LOGGING_RULES="qt.scenegraph.time.renderloop=true" "$app" >"$log" 2>&1 &
pid=$!
drew=false
for _ in $(seq 1 600); do
    if grep -q -i 'frame rendered' "$log"; then
        drew=true
        break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
status=0
if [ "$drew" != true ]; then
    echo "The window drew no frame."
    status=1
fi
if grep -E 'qrc:/Brightfold/|is not installed|could not open its window' "$log"; then
    echo "The window's QML reported the problems above."
    status=1
fi
[ "$status" -eq 0 ] || cat "$log"
rm -f "$log"
exit "$status"

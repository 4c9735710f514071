#!/bin/sh
# Installs the build into a temporary prefix, starts the installed application, waits until
# its window has drawn its first frame, then ends it. Fails when the installation lacks the
# program or its desktop entry, when the program exits early or draws nothing within a
# minute, or when its QML reports any problem (a missing QML module shows up here, not at
# build time).
# Usage: start-up-smoke.sh BUILD_DIR BIN_DIR DATA_DIR (the last two relative to the prefix)
set -u
build=$1
bindir=$2
datadir=$3
prefix=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$prefix" "$log"' EXIT

if ! cmake --install "$build" --prefix "$prefix" >"$log" 2>&1; then
    cat "$log"
    echo "The build could not be installed."
    exit 1
fi
app="$prefix/$bindir/brightfold"
for installed in "$app" "$prefix/$datadir/applications/brightfold.desktop"; do
    if [ ! -e "$installed" ]; then
        echo "The installation lacks $installed."
        exit 1
    fi
done

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
    echo "The installed program drew no frame."
    status=1
fi
if grep -E 'qrc:/Brightfold/|is not installed|could not open its window' "$log"; then
    echo "The window's QML reported the problems above."
    status=1
fi
[ "$status" -eq 0 ] || cat "$log"
exit "$status"

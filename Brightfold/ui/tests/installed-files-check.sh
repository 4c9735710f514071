#!/bin/sh
# Installs the build into a temporary prefix and checks what the desktop reads from it: the
# desktop entry (valid, passes files, opens the model types and views USDZ packages), the MIME
# types it relies on, the help pages (all there, every link between them resolving), and that
# the program answers --help and --version on a terminal without a display.
# Usage: installed-files-check.sh BUILD_DIR BIN_DIR DATA_DIR (the last two relative to the prefix)
set -u
build=$1
bindir=$2
datadir=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
status=0
fail() {
    echo "$*"
    status=1
}

if ! cmake --install "$build" --prefix "$prefix" >/dev/null; then
    echo "The build could not be installed."
    exit 1
fi
share="$prefix/$datadir"

entry="$share/applications/brightfold.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate refused $entry"
grep -qx 'Exec=brightfold %F' "$entry" || fail "the entry does not pass the chosen files"
for type in model/gltf+json model/gltf-binary model/x-usdc model/vnd.usdz+zip; do
    grep '^MimeType=' "$entry" | tr ';=' '\n\n' | grep -qx "$type" ||
        fail "the entry does not list $type"
done
for type in model/x-usdc model/vnd.usdz+zip; do
    grep -q "type=\"$type\"" "$share/mime/packages/brightfold-usdc.xml" ||
        fail "the MIME package does not define $type"
done

help="$share/brightfold/help"
for page in index getting-started formats conversion viewing shortcuts troubleshooting \
    report-issue; do
    [ -f "$help/$page.html" ] || fail "the help page $page.html is not installed"
done
for page in "$help"/*.html; do
    for target in $(grep -o 'href="[^"]*"' "$page" | sed 's/^href="//; s/"$//'); do
        case $target in
        http:* | https:* | mailto:*) continue ;;
        esac
        file=${target%%#*}
        [ -z "$file" ] || [ -f "$help/$file" ] ||
            fail "$(basename "$page") links to $target, which is not installed"
    done
done
app="$prefix/$bindir/brightfold"
env -u DISPLAY -u WAYLAND_DISPLAY "$app" --help | grep -q '^Usage: brightfold' ||
    fail "brightfold --help printed no usage"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$app" --version)" = "Brightfold 1.0" ] ||
    fail "brightfold --version printed no version"

[ "$status" -eq 0 ] && echo "The desktop entry, MIME types and help pages are in order."
exit "$status"

#!/bin/sh
# Installs the build into a temporary prefix and checks what the desktop reads from it: the
# desktop entries (valid, passing files, opening the model types, viewing USDZ packages and
# converting without the window), the MIME types they rely on and how files are told apart by
# them, the thumbnailer entry, the AppStream data, the icons, the manual pages, the help pages
# (all there, every link between them resolving, the README's tables in them), and that the
# program answers --help and --version on a terminal without a display.
# Usage: installed-files-check.sh BUILD_DIR BIN_DIR DATA_DIR SOURCE_DIR (the bin and data
# folders relative to the prefix)
set -u
build=$1
bindir=$2
datadir=$3
source_dir=$4
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
convert_entry="$share/applications/brightfold-convert-usdz.desktop"
for desktop in "$entry" "$convert_entry"; do
    desktop-file-validate "$desktop" || fail "desktop-file-validate refused $desktop"
done
grep -qx 'Exec=brightfold %F' "$entry" || fail "the entry does not pass the chosen files"
grep -qx 'Exec=brightfold --convert %F' "$convert_entry" ||
    fail "the conversion entry does not convert the chosen files"
grep -qx 'Exec=brightfold --convert %F' "$share/kio/servicemenus/brightfold-convert-usdz.desktop" ||
    fail "the KDE service menu does not convert the chosen files"
listed_types() {
    grep "^MimeType=" "$1" | sed 's/^MimeType=//' | tr ';' '\n' | grep -v '^$'
}
for type in model/gltf+json model/gltf-binary model/x-vrm model/x-usdc model/vnd.usdz+zip; do
    listed_types "$entry" | grep -qx "$type" || fail "the entry does not list $type"
    listed_types "$share/thumbnailers/brightfold.thumbnailer" | grep -qx "$type" ||
        fail "the thumbnailer entry does not list $type"
done
grep -qx 'Exec=brightfold-thumbnailer -s %s %i %o' "$share/thumbnailers/brightfold.thumbnailer" ||
    fail "the thumbnailer entry does not run the thumbnailer"
for type in model/x-usdc model/vnd.usda model/vnd.usdz+zip model/x-vrm; do
    grep -q "type=\"$type\"" "$share/mime/packages/brightfold.xml" ||
        fail "the MIME package does not define $type"
done
appstreamcli validate --no-net "$share/metainfo/example.varlo.Brightfold.metainfo.xml" >/dev/null ||
    fail "appstreamcli refused the metainfo file"
for size in 16 24 32 48 64 128 256 512; do
    file "$share/icons/hicolor/${size}x$size/apps/brightfold.png" | grep -q "$size x $size" ||
        fail "the ${size}x$size icon is missing or of another size"
done

# How the desktop tells the files apart with our types beside its own: GIO reads the MIME
# database built from the installed package and the system's.
samples=$(mktemp -d)
trap 'rm -rf "$prefix" "$samples"' EXIT
update-mime-database "$share/mime" >/dev/null 2>&1 || fail "update-mime-database refused the types"
printf 'glTF\002\000\000\000' >"$samples/avatar.vrm"
printf '#VRML V1.0 ascii\n' >"$samples/world.vrm"
printf 'PXR-USDC' >"$samples/crate.usd"
printf '#usda 1.0\n' >"$samples/text.usd"
printf 'PK\003\004' >"$samples/package.usdz"
type_of() {
    XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$samples/none" \
        gio info -a standard::content-type "$samples/$1" | sed -n 's/^ *standard::content-type: //p'
}
for expected in avatar.vrm=model/x-vrm world.vrm=model/vrml crate.usd=model/x-usdc \
    text.usd=model/vnd.usda package.usdz=model/vnd.usdz+zip; do
    sample=${expected%%=*}
    [ "$(type_of "$sample")" = "${expected#*=}" ] ||
        fail "$sample is taken for $(type_of "$sample"), not ${expected#*=}"
done

man="$share/man/man1"
for program in brightfold brightfold-convert brightfold-thumbnailer; do
    [ -f "$man/$program.1.gz" ] || fail "the manual page of $program is not installed"
    warnings=$(zcat "$man/$program.1.gz" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "groff warns about the manual page of $program: $warnings"
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
readme_extensions=$(sed -n '/^### glTF extensions the reader understands/,/^## /p' \
    "$source_dir/README.md" | grep -o '^| `[A-Za-z]*_[A-Za-z_]*`' | sed 's/^| `//; s/`$//')
for name in $readme_extensions; do
    grep -q "<code>$name</code>" "$help/formats.html" ||
        fail "the formats page does not list $name, which the README does"
done
[ -n "$readme_extensions" ] || fail "no extensions were found in the README to look for"

app="$prefix/$bindir/brightfold"
env -u DISPLAY -u WAYLAND_DISPLAY "$app" --help | grep -q '^Usage: brightfold' ||
    fail "brightfold --help printed no usage"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$app" --version)" = "Brightfold 1.0" ] ||
    fail "brightfold --version printed no version"

[ "$status" -eq 0 ] && echo "The desktop entry, MIME types and help pages are in order."
exit "$status"

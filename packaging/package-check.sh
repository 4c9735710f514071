#!/bin/sh
# Makes the Debian package from a build (cpack), shows its Depends: line, checks it with lintian
# (any error fails; every tag is printed) and runs the install test on it with the example
# model. Usage: package-check.sh BUILD_DIR EXAMPLE_MODEL_PROGRAM
set -eu
build=$(realpath "$1")
example_model=$2
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v lintian >/dev/null; then
    echo "skipped: lintian is not installed"
    exit 77
fi
cd "$build"
rm -f package/brightfold_*.deb
if ! cpack -G DEB >package.log 2>&1; then
    cat package.log
    echo "cpack could not make the package"
    exit 1
fi
deb=$(ls package/brightfold_*_amd64.deb)
echo "made $deb"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
echo "lintian:"
lintian --fail-on error --display-info --pedantic "$deb" || {
    echo "lintian found errors in the package"
    exit 1
}
"$example_model" "$build/package/example.glb" >/dev/null
"$here/install-test.sh" "$deb" "$build/package/example.glb"

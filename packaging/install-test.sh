#!/bin/sh
# Installs the package into a clean Debian 12 root as a user would (apt installing its
# dependencies), runs brightfold --version, converts a model with brightfold-convert and draws
# its thumbnail there, then purges the package and the dependencies it brought and checks that
# nothing of it is left. The root is made with mmdebstrap; the .deb files apt already holds on
# this machine (every dependency, when it is the machine that built the package) are linked
# into it, so little or nothing is downloaded.
# Usage: install-test.sh PACKAGE.deb MODEL.glb
# Needs root and mmdebstrap; exits 77 (skipped) without them.
set -eu
package=$(realpath "$1")
model=$(realpath "$2")
if [ "$(id -u)" -ne 0 ] || ! command -v mmdebstrap >/dev/null; then
    echo "skipped: the install test needs root and mmdebstrap"
    exit 77
fi
work=$(mktemp -d /var/tmp/brightfold-install-test.XXXXXX)
root="$work/root"
cleanup() {
    umount "$root/dev" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
started=$(date +%s)
fail() {
    echo "install test: $*"
    exit 1
}
inside() {
    chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"
}

sources=/etc/apt/sources.list.d/debian.sources
[ -f "$sources" ] || sources="http://deb.debian.org/debian"
mmdebstrap --quiet --variant=apt --mode=root --skip=download/empty --skip=essential/unlink \
    --skip=cleanup/apt/lists --dpkgopt=force-unsafe-io \
    --setup-hook='mkdir -p "$1/var/cache/apt/archives"' \
    --setup-hook='cp -al /var/cache/apt/archives/*.deb "$1/var/cache/apt/archives/" 2>/dev/null || true' \
    bookworm "$root" "$sources" || fail "mmdebstrap could not make a Debian 12 root"
echo "Debian 12 root made in $(($(date +%s) - started)) s"

# Everything a user's files could leave aside (caches, logs, the package manager's own records)
# is not compared.
snapshot() {
    inside find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /tmp -o -path /run \
        -o -path /var/cache -o -path /var/log -o -path /var/lib/apt -o -path /var/lib/dpkg \
        -o -path /root -o -path /etc/ld.so.cache \) -prune -o -print | sort
}
snapshot >"$work/before"

cp "$package" "$root/tmp/brightfold.deb"
cp "$model" "$root/tmp/model.glb"
mount --bind /dev "$root/dev"
inside apt-get install -y --no-install-recommends -o Dpkg::Options::=--force-unsafe-io \
    /tmp/brightfold.deb >"$work/apt.log" 2>&1 ||
    { tail -n 30 "$work/apt.log"; fail "apt could not install the package"; }
echo "package installed with its dependencies after $(($(date +%s) - started)) s"

inside brightfold --version | grep -q '^Brightfold ' || fail "brightfold --version printed no version"
inside brightfold-convert --quiet /tmp/model.glb -o /tmp/model.usdz ||
    fail "brightfold-convert could not convert the model"
[ -s "$root/tmp/model.usdz" ] || fail "brightfold-convert wrote no package"
inside brightfold-thumbnailer -s 128 /tmp/model.glb /tmp/model.png ||
    fail "brightfold-thumbnailer drew no thumbnail"
[ -s "$root/tmp/model.png" ] || fail "brightfold-thumbnailer wrote no picture"
[ -f "$root/usr/share/man/man1/brightfold-convert.1.gz" ] ||
    fail "the manual page of brightfold-convert is not installed"

inside dpkg -L brightfold >"$work/files"
inside apt-get purge -y --autoremove -o Dpkg::Options::=--force-unsafe-io brightfold >>"$work/apt.log" 2>&1 ||
    { tail -n 30 "$work/apt.log"; fail "apt could not remove the package"; }
umount "$root/dev"
while read -r file; do
    [ -d "$root$file" ] || [ ! -e "$root$file" ] || fail "$file is left after removal"
done <"$work/files"
snapshot >"$work/after"
if ! diff -u "$work/before" "$work/after" >"$work/left"; then
    cat "$work/left"
    fail "the root differs from before the installation"
fi
echo "installed, run and removed without a trace in $(($(date +%s) - started)) s"

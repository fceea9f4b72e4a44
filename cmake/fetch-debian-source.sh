#!/bin/sh
# Unpacks the Debian source package PACKAGE into DIR/PACKAGE (the Windows
# build's libraries are built from Debian's sources). Debian's source lists
# are added beside the binary ones when apt has none yet; that and the apt
# update it needs run as root (or under sudo).
#
# Usage: cmake/fetch-debian-source.sh DIR PACKAGE
set -eu
package=$2
mkdir -p "$1"
dir=$(cd "$1" && pwd)
# Unpacked before (the build leaves an empty folder in its place first).
[ -f "$dir/$package/debian/control" ] && exit 0
as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}
command -v dpkg-source > /dev/null || { echo "dpkg-source is missing: install dpkg-dev (see the README)"; exit 1; }
list=/etc/apt/sources.list.d/wowfix-deb-src.sources
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    # The source entries mirror the binary ones of Debian's own list (in
    # either of apt's two list formats).
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > /tmp/wowfix-deb-src.$$
    else
        list=/etc/apt/sources.list.d/wowfix-deb-src.list
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /tmp/wowfix-deb-src.$$
    fi
    [ -s /tmp/wowfix-deb-src.$$ ] || { rm -f /tmp/wowfix-deb-src.$$; echo "no Debian package lists to add sources for"; exit 1; }
    as_root cp /tmp/wowfix-deb-src.$$ "$list"
    rm -f /tmp/wowfix-deb-src.$$
    as_root apt-get update -q
fi
# What an interrupted run left is fetched again.
rm -rf "$dir/download.$package"
mkdir -p "$dir/download.$package"
cd "$dir/download.$package"
# Each version apt knows of in turn: a mirror that lacks one (an update not
# yet on it) may still have another.
fetched=no
for version in $(apt-cache showsrc "$package" | sed -n 's/^Version: //p'); do
    if apt-get source -q "$package=$version"; then fetched=yes; break; fi
    rm -rf ./*
done
[ "$fetched" = yes ] || { echo "apt-get source $package failed"; exit 1; }
# apt-get source unpacks into PACKAGE-VERSION; the build looks for PACKAGE.
unpacked=$(find . -mindepth 1 -maxdepth 1 -type d | head -n 1)
[ -n "$unpacked" ] || { echo "apt-get source $package unpacked nothing"; exit 1; }
rm -rf "${dir:?}/$package"
mv "$unpacked" "$dir/$package"
cd "$dir"
rm -rf "download.$package"

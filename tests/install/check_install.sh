#!/usr/bin/env bash
# Installs the build into a staging folder and checks that every file a desktop needs is
# there and valid.
set -euo pipefail
build_dir=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

cmake --install "$build_dir" --prefix "$stage/usr" > /dev/null

failures=0
expect() {
    if [ -e "$stage/usr/$1" ]; then
        echo "ok: $1"
    else
        echo "missing: $1"
        failures=$((failures + 1))
    fi
}

expect bin/velmora
expect bin/velmora-cli
expect share/applications/org.velmora.Velmora.desktop
expect share/metainfo/org.velmora.Velmora.metainfo.xml
expect share/mime/packages/velmora-kx7.xml
expect share/icons/hicolor/scalable/apps/velmora.svg
for size in 16 32 48 64 128 256; do
    expect "share/icons/hicolor/${size}x${size}/apps/velmora.png"
done
expect share/man/man1/velmora.1
expect share/man/man1/velmora-cli.1

desktop-file-validate "$stage/usr/share/applications/org.velmora.Velmora.desktop"
appstreamcli validate --no-net --pedantic \
    "$stage/usr/share/metainfo/org.velmora.Velmora.metainfo.xml" > /dev/null
xmllint --noout "$stage/usr/share/mime/packages/velmora-kx7.xml"
xmllint --noout "$stage/usr/share/icons/hicolor/scalable/apps/velmora.svg"
for page in velmora velmora-cli; do
    # man reports warnings of a page it cannot lay out cleanly on stderr
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$stage/usr/share/man/man1/$page.1" 2>&1 >/dev/null || true)
    if [ -n "$warnings" ]; then
        echo "man page $page: $warnings"
        failures=$((failures + 1))
    fi
done

# The shared-mime-info database built from the staged type recognises a .kx7 file.
mkdir -p "$stage/mime"
cp -r "$stage/usr/share/mime/packages" "$stage/mime/"
update-mime-database "$stage/mime"
grep -q 'application/x-velmora-kx7' "$stage/mime/globs2"
grep -q '\*\.kx7' "$stage/mime/globs2"

"$stage/usr/bin/velmora-cli" --version | grep -q 'Velmora Version 5.1.0.0'

if [ "$failures" -ne 0 ]; then
    echo "$failures problem(s)"
    exit 1
fi
echo "install check passed"

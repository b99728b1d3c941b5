#!/usr/bin/env bash
# Builds the Debian package of Velmora.
#   scripts/package.sh          build build/package/velmora_<version>_<arch>.deb
#   scripts/package.sh --check  also install it with apt-get into a fresh minimal Debian 12
#                               (debootstrap) and start both programs there
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

build_dir=build/package
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr
cmake --build "$build_dir"
(cd "$build_dir" && cpack -G DEB > /dev/null)
package=$(ls -t "$build_dir"/velmora_*.deb | head -n 1)
echo "package: $package"
dpkg-deb --info "$package" | sed -n '/Depends/p'

if [ "${1:-}" != "--check" ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "--check installs into a fresh system folder and needs root" >&2
    exit 1
fi
if ! command -v debootstrap > /dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap
fi

mirror=${VELMORA_DEBIAN_MIRROR:-http://deb.debian.org/debian}
root=$(mktemp -d /var/tmp/velmora-clean.XXXXXX)
cleanup() {
    umount "$root/proc" 2> /dev/null || true
    rm -rf "$root"
}
trap cleanup EXIT

echo "making a clean Debian 12 in $root"
debootstrap --variant=minbase bookworm "$root" "$mirror" > "$root.log" 2>&1 \
    || { tail -n 20 "$root.log"; exit 1; }
mount -t proc proc "$root/proc"
cp "$package" "$root/tmp/velmora.deb"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/velmora.deb > /dev/null
in_root velmora-cli --version | grep -q 'Velmora Version 5.1.0.0'
in_root env QT_QPA_PLATFORM=offscreen velmora --version | grep -q 'Velmora Version 5.1.0.0'
test -f "$root/usr/share/applications/org.velmora.Velmora.desktop"
test -f "$root/usr/share/mime/packages/velmora-kx7.xml"
echo "package check passed: installed with its dependencies and both programs start"

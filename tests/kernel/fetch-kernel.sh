#!/usr/bin/env bash
# Prints the path of Debian's amd64 kernel image, fetching it the first time: the package
# linux-image-amd64 and the linux-image-*-amd64 package it depends on, downloaded with apt-get and
# unpacked with dpkg-deb into a cache folder, never installed into the system. The cache is
# VORLANE_KERNEL_CACHE, or ~/.cache/vorlane/kernel, so reruns and later builds reuse it. The few
# modules the guest loads itself (a FAT file system on a loop device) are kept beside the image,
# in modules/VERSION/, from the same package.
set -euo pipefail

if [ -n "${VORLANE_KERNEL_CACHE:-}" ]; then
  cache=$VORLANE_KERNEL_CACHE
elif [ -n "${XDG_CACHE_HOME:-}" ] || [ -n "${HOME:-}" ]; then
  cache=${XDG_CACHE_HOME:-$HOME/.cache}/vorlane/kernel
else
  cache=/tmp/vorlane-kernel-$(id -u)
fi
mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9

modules="fat vfat nls_cp437 nls_utf8 loop"

found() {
  local image version module
  image=$(find "$cache/boot" -maxdepth 1 -name 'vmlinuz-*-amd64' 2>/dev/null | sort | tail -n 1)
  [ -n "$image" ] || return 1
  version=${image##*/vmlinuz-}
  for module in $modules; do
    [ -f "$cache/modules/$version/$module.ko" ] || return 1
  done
  echo "$image"
}

if found; then
  exit 0
fi

download=$(mktemp -d)
trap 'rm -rf "$download"' EXIT
# As root, apt downloads as its own user, which must be able to write the folder.
if [ "$(id -u)" -eq 0 ] && id _apt >/dev/null 2>&1; then
  chown _apt "$download"
fi
cd "$download"
apt-get download -q linux-image-amd64 >&2
meta=$(ls linux-image-amd64_*.deb)
image_package=$(dpkg-deb -f "$meta" Depends | grep -o 'linux-image-[^ ,]*-amd64' | head -n 1)
if [ -z "$image_package" ]; then
  echo "fetch-kernel: $meta depends on no linux-image-*-amd64 package" >&2
  exit 1
fi
apt-get download -q "$image_package" >&2
dpkg-deb -x "$(ls "$image_package"_*.deb)" unpacked
# The kernel image, and of the modules only those the guest loads: the rest are not needed to
# boot into an initramfs.
mkdir -p "$cache/boot"
cp unpacked/boot/vmlinuz-* "$cache/boot/"
for image in unpacked/boot/vmlinuz-*; do
  version=${image##*/vmlinuz-}
  mkdir -p "$cache/modules/$version"
  for module in $modules; do
    find "unpacked/lib/modules/$version" -name "$module.ko" -exec cp {} "$cache/modules/$version/" \;
  done
done
found

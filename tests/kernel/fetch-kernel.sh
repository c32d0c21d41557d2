#!/usr/bin/env bash
# Prints the path of Debian's amd64 kernel image, fetching it the first time: the package
# linux-image-amd64 and the linux-image-*-amd64 package it depends on, downloaded with apt-get and
# unpacked with dpkg-deb into a cache folder, never installed into the system. The cache is
# VORLANE_KERNEL_CACHE, or ~/.cache/vorlane/kernel, so reruns and later builds reuse it.
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

found() {
  local image
  image=$(find "$cache/boot" -maxdepth 1 -name 'vmlinuz-*-amd64' 2>/dev/null | sort | tail -n 1)
  [ -n "$image" ] && echo "$image"
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
# Only the kernel image is kept; the modules are not needed to boot into an initramfs.
mkdir -p "$cache/boot"
cp unpacked/boot/vmlinuz-* "$cache/boot/"
found

#!/usr/bin/env bash
# Exits 0 when this machine starts 32-bit x86 programs natively, which 32-bit
# Wine needs. A kernel without 32-bit support refuses them; a qemu handler
# would start them emulated, far too slowly for Wine, so it counts as no.
[ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386 && exit 1
timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1

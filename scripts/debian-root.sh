# shellcheck shell=bash
# Sourced by the scripts that work in a fresh minimal Debian 12 root
# (package-test.sh, fresh-root-test.sh); not run by itself.
#
#   debian_root_make PREFIX MIRROR   makes /var/tmp/PREFIX.XXXXXX with
#                                    debootstrap --variant=minbase bookworm,
#                                    sets $root, mounts /proc, /sys, /dev,
#                                    /dev/pts and a /dev/shm of its own, and
#                                    removes it all when the script exits
#                                    (kept when $keep is 1)
#   in_root COMMAND...               runs a command in the root, as root, in
#                                    a clean environment
#
# No service a package installs starts in the root (there is no init there).

debian_root_mounts=()

# debian_root_mount WHERE ARGS...: mounts inside the root, remembered for
# the cleanup; private, so that nothing mounted under it reaches the machine.
debian_root_mount() {
  local where=$root$1
  shift
  mount "$@" "$where"
  debian_root_mounts+=("$where")
  mount --make-private "$where"
}

debian_root_cleanup() {
  local i pid
  [ -n "${root:-}" ] || return 0
  # Whatever ran in the root (a server, a daemon a package started) ends
  # with it.
  for pid in /proc/[0-9]*; do
    pid=${pid#/proc/}
    [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -KILL "$pid" 2>/dev/null
  done
  sleep 0.5
  for ((i = ${#debian_root_mounts[@]} - 1; i >= 0; i--)); do
    umount "${debian_root_mounts[$i]}" 2>/dev/null || umount -l "${debian_root_mounts[$i]}" 2>/dev/null || true
  done
  # Nothing of the machine may be mounted inside when the root is removed.
  if grep -q " $root/" /proc/mounts; then
    echo "$(basename "$0"): mounts left under $root; it is not removed" >&2
  elif [ "${keep:-0}" = 1 ]; then
    echo "The Debian root is kept: $root"
  else
    rm -rf "$root"
  fi
  return 0
}

debian_root_make() {
  local prefix=$1 mirror=$2
  root=$(mktemp -d "/var/tmp/$prefix.XXXXXX")
  chmod 755 "$root"
  trap debian_root_cleanup EXIT
  debootstrap --variant=minbase bookworm "$root" "$mirror" > "$root.debootstrap.log" 2>&1 || {
    tail -20 "$root.debootstrap.log"; rm -f "$root.debootstrap.log"; return 1; }
  rm -f "$root.debootstrap.log"
  echo "deb $mirror bookworm main" > "$root/etc/apt/sources.list"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  printf '#!/bin/sh\nexit 101\n' > "$root/usr/sbin/policy-rc.d"
  chmod 755 "$root/usr/sbin/policy-rc.d"
  debian_root_mount /proc -t proc proc
  debian_root_mount /sys -t sysfs -o ro sysfs
  debian_root_mount /dev --bind /dev
  debian_root_mount /dev/pts --bind /dev/pts
  # PostgreSQL's shared memory: a private tmpfs open to every user, as on a
  # booted Debian.
  debian_root_mount /dev/shm -t tmpfs -o mode=1777,nosuid,nodev tmpfs
  chmod 1777 "$root/tmp" "$root/var/tmp"
}

in_root() {
  chroot "$root" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}

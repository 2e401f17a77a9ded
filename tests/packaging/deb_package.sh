#!/usr/bin/env bash
# The Debian package on a clean Debian 12: it installs with what it depends
# on and nothing else, the installed window starts under Xvfb, the installed
# command-line companion recognises the installed simulator, and purging the
# package leaves none of its files. The system is a debootstrap chroot in the
# build folder; its base and the downloaded packages are kept for later runs.
# Usage: deb_package.sh BUILD_DIR (built already). Needs root and the archive.
set -euo pipefail
build=$(cd "$1" && pwd)
here=$build/deb-package-test
root=$here/root
mirror=http://deb.debian.org/debian

if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: a chroot needs root"
  exit 77
fi
fail() { echo "FAIL: $*" >&2; exit 1; }

# Nothing under the chroot may be removed while anything is mounted there.
unmount_all() {
  local mounted
  for mounted in "$root/var/cache/apt/archives" "$root/dev/pts" "$root/proc"; do
    if mountpoint -q "$mounted"; then umount "$mounted" || umount -l "$mounted"; fi
  done
}
clean_up() {
  unmount_all
  if ! findmnt -rn -o TARGET | grep -q "^$root"; then rm -rf --one-file-system "$root"; fi
}
trap clean_up EXIT

mkdir -p "$here/archives"
clean_up
cpack --config "$build/CPackConfig.cmake" -B "$here/package" >"$here/cpack.log" 2>&1 || fail "cpack: $(tail -3 "$here/cpack.log")"
deb=$(ls "$here"/package/soundloader_*.deb)

if [ ! -f "$here/bookworm-base.tar" ]; then
  echo "Making a Debian 12 base system (once; about two and a half minutes)"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$here/debootstrap.log" \
    || fail "debootstrap: $(tail -3 "$here/debootstrap.log")"
  tar -C "$root" -cf "$here/bookworm-base.tar" .
  rm -rf --one-file-system "$root"
fi
mkdir -p "$root"
tar -C "$root" -xf "$here/bookworm-base.tar"
mount -t proc proc "$root/proc"
mount --bind /dev/pts "$root/dev/pts"
mount --bind "$here/archives" "$root/var/cache/apt/archives"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

# Recommended packages stay out: what the package depends on must do.
in_root apt-get update -qq >/dev/null
in_root apt-get install -y -qq --no-install-recommends "/tmp/$(basename "$deb")" xvfb xauth x11-utils \
  >"$here/install.log" 2>&1 || fail "install: $(tail -5 "$here/install.log")"
installed=$(in_root dpkg -L soundloader)
for file in /usr/bin/soundloader /usr/bin/soundloader-cli /usr/bin/soundloader-sim \
            /usr/share/applications/soundloader.desktop /usr/share/icons/hicolor/scalable/apps/soundloader.svg; do
  grep -qx "$file" <<<"$installed" || fail "the package lacks $file"
done

cat >"$root/tmp/try-installed.sh" <<'EOF'
#!/bin/sh
# The window shows under its title and stays; the simulator's port is listed
# and recognised.
soundloader >/tmp/window.log 2>&1 &
window=$!
for _ in 1 2 3 4 5 6 7 8 9 10; do
  xwininfo -root -tree | grep -q "Заливка звукоимитатора  v5.01" && break
  sleep 1
done
xwininfo -root -tree | grep -q "Заливка звукоимитатора  v5.01" || { echo "no window"; cat /tmp/window.log; exit 1; }
kill -0 "$window" || { echo "the window ended"; exit 1; }
kill "$window"
soundloader-sim --model 99 --link /dev/ttySIM-99 >/dev/null &
simulator=$!
sleep 1
soundloader-cli ports | grep -qx ttySIM-99 || { echo "the simulator's port is not listed"; exit 1; }
soundloader-cli detect --port ttySIM-99 --timeout 6 2>/dev/null | grep -q "Модель: K 4/99" \
  || { echo "the simulator is not recognised"; exit 1; }
kill "$simulator"
wait "$simulator" || true
EOF
chmod +x "$root/tmp/try-installed.sh"
timeout 120 chroot "$root" env LANG=C.UTF-8 xvfb-run -a -s "-screen 0 1000x900x24 -dpi 96" /tmp/try-installed.sh \
  || fail "the installed programs did not work"

in_root apt-get purge -y -qq soundloader >/dev/null || fail "purge"
! in_root dpkg -s soundloader >/dev/null 2>&1 || fail "still known to dpkg after the purge"
for file in $installed; do
  if [ -f "$root$file" ]; then fail "$file left behind"; fi
done
echo "ok"

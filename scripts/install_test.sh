#!/usr/bin/env bash
# Installs dist/*.deb with apt on a fresh Debian bookworm system (made with
# mmdebstrap: apt, man-db and what the packages pull in), uses both programs
# there, looks at the wizard under Xvfb and purges the packages: no file of
# theirs may stay. Run as root after scripts/package.sh; the wizard's
# screenshot is build/deb-install/wizard.png.
set -euo pipefail
cd "$(dirname "$0")/.."

# The test system lives on a tmpfs in a mount namespace of this script's own:
# whatever happens, nothing stays mounted and nothing is left to delete.
if [ -z "${ZEFA_INSTALL_TEST_NS:-}" ]; then
  ZEFA_INSTALL_TEST_NS=1 exec unshare --mount --propagation private "$0" "$@"
fi
root="$PWD/build/deb-root"
out="$PWD/build/deb-install"
rm -rf "$out"
mkdir -p "$root" "$out"
mount -t tmpfs -o size=4g tmpfs "$root"
phase() { echo "== install test: $1 (${SECONDS}s) =="; }

# The machine's own Debian sources, not its other repositories. The test
# system is thrown away: dpkg need not sync its files to disk.
sources=/etc/apt/sources.list.d/debian.sources
[ -f "$sources" ] || sources=/etc/apt/sources.list

phase "bootstrap"
mmdebstrap --quiet --variant=apt --include=man-db --dpkgopt=force-unsafe-io \
  --skip=cleanup/apt/lists bookworm "$root" "$sources"
mkdir -p "$root/tmp/debs" "$root/tmp/t"
cp dist/*.deb "$root/tmp/debs/"
cp -r examples/beta2-ctf.log examples/season "$root/tmp/t/"
mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
mount -t tmpfs tmpfs "$root/dev/shm"
touch "$root/etc/resolv.conf"
mount --bind /etc/resolv.conf "$root/etc/resolv.conf"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

# PACKAGES: file names the test system's shell expands.
install() {
  in_root sh -c "DEBIAN_FRONTEND=noninteractive apt-get install -y -q $*" \
    | grep -E '^Need to get|newly installed'
}

# The command alone first, as a server has it: no Qt, no browser engine.
phase "apt-get install ./zefastats_*.deb"
install /tmp/debs/zefastats_*.deb
if in_root dpkg-query -W -f '${Package} ${Status}\n' 'libqt6*' 2>/dev/null | grep 'ok installed'; then
  echo "install test: zefastats pulled in Qt"
  exit 1
fi

phase "the command"
in_root zefastats --version | grep -qx 'zefastats 2.1.5'
in_root zefastats /tmp/t/beta2-ctf.log -o /tmp/t/stats.html
grep -q '</html>' "$root/tmp/t/stats.html"
in_root sh -c 'zefastats season import /tmp/t/clan.db /tmp/t/season/*.log >/dev/null'
in_root zefastats season site /tmp/t/clan.db -o /tmp/t/site --title 'Example season'
[ -s "$root/tmp/t/site/index.html" ] && [ -n "$(ls "$root/tmp/t/site/matches")" ]
in_root man -w zefastats | grep -qx /usr/share/man/man1/zefastats.1.gz

phase "the season server's unit"
# Installed, not enabled (no symbolic link to it in a .wants folder), and valid
# for this machine's systemd-analyze (the test system has no systemd), its
# command taken from the test system.
unit=usr/lib/systemd/system/zefastats-server.service
[ -f "$root/$unit" ] || { echo "install test: no $unit"; exit 1; }
if find "$root/etc/systemd/system" -name zefastats-server.service 2>/dev/null | grep -q .; then
  echo "install test: zefastats-server.service is enabled"
  exit 1
fi
if command -v systemd-analyze >/dev/null; then
  sed "s|^ExecStart=zefastats |ExecStart=$root/usr/bin/zefastats |" "$root/$unit" \
    >"$out/zefastats-server.service"
  systemd-analyze verify --man=no "$out/zefastats-server.service"
fi

phase "apt-get install ./dist/*.deb"
install /tmp/debs/*.deb
in_root dpkg-query -W zefastats zefastats2 zefastats-web
in_root man -w zefastats2 | grep -qx /usr/share/man/man1/zefastats2.1.gz
[ -s "$root/usr/share/zefastats2/zefastats-web.html" ]

phase "the desktop program"
in_root zefastats2 --version | grep -qx 'zefastats2 2.1.5'
# The X server runs outside; the program in the test system reaches it by its
# abstract socket, with the cookie copied in.
export root out
xvfb-run -a -f "$root/tmp/xauth" -s "-screen 0 1024x768x24" bash -ec '
  chroot "$root" env -i PATH=/usr/bin:/bin HOME=/root DISPLAY="$DISPLAY" XAUTHORITY=/tmp/xauth \
    QTWEBENGINE_DISABLE_SANDBOX=1 zefastats2 >"$out/zefastats2.log" 2>&1 &
  timeout 60 xdotool search --sync --onlyvisible --name "Zefa Stats 2 Wizard" >/dev/null
  sleep 1
  import -window root "$out/wizard.png"
  kill $!
  wait
'
colours="$(convert "$out/wizard.png" -format %k info:)"
[ "$colours" -gt 16 ] || { echo "install test: the wizard's screenshot is blank"; exit 1; }

phase "apt-get purge"
in_root sh -c 'DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq zefastats zefastats2 zefastats-web >/dev/null'
left=()
for deb in dist/*.deb; do
  while read -r path; do
    [ -e "$root/$path" ] && [ ! -d "$root/$path" ] && left+=("$path")
  done < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./||')
done
for dir in usr/share/zefastats2 usr/share/doc/zefastats usr/share/doc/zefastats2 \
    usr/share/doc/zefastats-web; do
  [ -e "$root/$dir" ] && left+=("$dir")
done
if [ ${#left[@]} -gt 0 ]; then
  echo "install test: left after purge: ${left[*]}"
  exit 1
fi
phase "done"

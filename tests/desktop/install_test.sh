#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that every installed
# piece is in place and that the menu entry and the metainfo are valid.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
id=example.zefastats.zefastats2

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/zefastats bin/zefastats2 \
    share/zefastats2/themes/default.thm share/zefastats2/themes/classic.thm \
    share/doc/zefastats/zefastats-themes-readme.txt \
    share/man/man1/zefastats.1 share/man/man1/zefastats2.1 \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    lib/systemd/user/zefastats-record.service \
    share/icons/hicolor/scalable/apps/zefastats2.svg; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
"$prefix/bin/zefastats2" --version | grep -qx 'zefastats2 2.1.5'
echo "installed and valid"

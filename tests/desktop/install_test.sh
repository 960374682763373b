#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that every installed
# piece is in place and that the menu entry is valid.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/zefastats bin/zefastats2 \
    share/zefastats2/themes/default.thm share/zefastats2/themes/classic.thm \
    share/doc/zefastats2/zefastats-themes-readme.txt \
    lib/systemd/user/zefastats-record.service \
    share/applications/zefastats2.desktop \
    share/icons/hicolor/scalable/apps/zefastats2.svg; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/zefastats2.desktop"
"$prefix/bin/zefastats2" --version | grep -qx 'zefastats2 2.1.5'
echo "installed and valid"

#!/usr/bin/env bash
# Builds the Debian packages zefastats, zefastats2 and zefastats-web with
# dpkg-buildpackage, checks them (lintian on the .changes, and their contents)
# and puts them into dist/ with zefastats-web.html and SHA256SUMS beside them.
# DEB_BUILD_OPTIONS=nocheck leaves the test suite out of the build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
version="$(dpkg-parsechangelog -S Version)"
upstream="${version%-*}"

# dpkg-buildpackage writes beside the source folder: build from a copy of the
# tree (tracked and new files, not ignored ones) in build/deb, where the
# .changes, .buildinfo, debug symbol packages and lintian.txt stay.
work=build/deb
rm -rf "$work" dist
mkdir -p "$work/zefastats2-$upstream" dist
git ls-files -z --cached --others --exclude-standard \
  | while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done \
  | tar --null -T - -c | tar -x -C "$work/zefastats2-$upstream"
(cd "$work/zefastats2-$upstream" && dpkg-buildpackage -us -uc -b -jauto)

# Every tag is kept, the overridden ones with their reasons; an error or a
# warning that is not overridden fails.
lintian --display-info --show-overrides --fail-on none \
  "$work/zefastats2_${version}_$(dpkg --print-architecture).changes" | tee "$work/lintian.txt"
if grep -E '^[EW]: ' "$work/lintian.txt"; then
  echo "package.sh: lintian found errors or warnings" >&2
  exit 1
fi

# Of the packages for users: no file under /usr/local, nothing world-writable
# but symbolic links, and no program that keeps its symbol table.
unpacked="$work/unpacked"
for package in zefastats zefastats2 zefastats-web; do
  deb="$(echo "$work/${package}_${version}"_*.deb)"
  listing="$(dpkg-deb -c "$deb")"
  if grep -E ' \./usr/local/' <<<"$listing" || grep -E '^[^l].......w' <<<"$listing"; then
    echo "package.sh: $deb: a file under /usr/local or world-writable" >&2
    exit 1
  fi
  rm -rf "$unpacked" && dpkg-deb -x "$deb" "$unpacked"
  if find "$unpacked" -type f -exec file {} + | grep -E 'ELF.*not stripped'; then
    echo "package.sh: $deb: an unstripped program" >&2
    exit 1
  fi
  cp "$deb" dist/
done
rm -rf "$unpacked"

dpkg-deb --fsys-tarfile dist/zefastats-web_"${version}"_all.deb \
  | tar -xO ./usr/share/zefastats2/zefastats-web.html >dist/zefastats-web.html
(cd dist && sha256sum -- *.deb zefastats-web.html >SHA256SUMS)
echo "Wrote $(pwd)/dist:"
ls -l dist

#!/bin/sh
# Installs the build into a temporary prefix and checks what a desktop reads from it:
# the menu entry, the file type, the thumbnailer entry, the icons, the man page and the
# software centre's entry.
set -eu
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "check-install: $*" >&2; exit 1; }
share="$prefix/share"
[ -x "$prefix/bin/polydrom" ] || fail "bin/polydrom missing"
desktop-file-validate "$share/applications/polydrom.desktop" || fail "desktop entry invalid"
grep -q '^MimeType=application/x-polydrom;$' "$share/applications/polydrom.desktop" || fail "desktop entry opens no .pdm"
xmllint --noout "$share/mime/packages/polydrom.xml" || fail "MIME XML malformed"
[ "$(xmllint --xpath 'string(//*[local-name()="glob"]/@pattern)' "$share/mime/packages/polydrom.xml")" = "*.pdm" ] \
  || fail "MIME type does not map *.pdm"
grep -q '^Exec=polydrom --batch %i --fit --size %sx%s --render %o$' "$share/thumbnailers/polydrom.thumbnailer" \
  || fail "thumbnailer entry"
[ -f "$share/icons/hicolor/scalable/apps/polydrom.svg" ] || fail "scalable icon missing"
for size in 16 22 24 32 48 64 128 256; do
  [ -f "$share/icons/hicolor/${size}x${size}/apps/polydrom.png" ] || fail "${size}px icon missing"
done
page=$(MANWIDTH=80 man -l "$share/man/man1/polydrom.1.gz" 2>&1) || fail "man page does not render"
echo "$page" | grep -q -- '--batch' || fail "man page does not document --batch"
echo "$page" | grep -q -- '--list-commands' || fail "man page does not document --list-commands"
appstreamcli validate --no-net --strict "$share"/metainfo/*.metainfo.xml || fail "metainfo does not validate"
version=$("$prefix/bin/polydrom" --version | grep -oE '[0-9]+(\.[0-9]+)+' | head -n 1)
[ -n "$version" ] || fail "polydrom --version names no version"
echo "$page" | grep -q "Polydrom $version" || fail "man page does not name version $version"
"$prefix/bin/polydrom" --batch --do shape-box --dump | grep -q '^vertices 8$' || fail "installed program does not run"
echo "installed tree OK"

#!/bin/sh
# Builds the Debian package from a build tree into a temporary folder and checks it as
# an archive would: lintian finds no error or warning, the software centre's entry
# validates, and the package carries its copyright, change log and compressed man page.
set -eu
build="$1"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

fail() { echo "check-package: $*" >&2; exit 1; }
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$out"/polydrom_*.deb)

# Lintian warns about being run as root, which the test machines do; only its findings count.
if ! report=$(lintian --fail-on error,warning "$deb" 2>&1); then
  echo "$report" | grep -v 'running with root privileges' >&2
  fail "lintian found errors or warnings"
fi

tree="$out/tree"
dpkg-deb -x "$deb" "$tree"
doc="$tree/usr/share/doc/polydrom"
[ -f "$doc/copyright" ] || fail "no copyright file"
gzip -t "$doc/changelog.gz" || fail "no compressed change log"
gzip -t "$tree/usr/share/man/man1/polydrom.1.gz" || fail "no compressed man page"
metainfo=$(ls "$tree"/usr/share/metainfo/*.metainfo.xml) || fail "no metainfo file"
appstreamcli validate --no-net --strict "$metainfo" || fail "metainfo does not validate"
appstreamcli validate-tree --no-net --strict "$tree" >/dev/null || fail "desktop entry and metainfo do not match"
grep -q '<launchable type="desktop-id">polydrom.desktop</launchable>' "$metainfo" || fail "metainfo names no desktop entry"
dpkg-deb -f "$deb" Description | grep -q 'Polydrom 3D Modeling Software' || fail "description lacks the long name"
echo "package OK: $(basename "$deb")"

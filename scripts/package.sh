#!/usr/bin/env bash
# Builds the Debian package in the build folder and checks it: its control data, the files it
# holds, the menu entry, the metainfo and lintian. It never installs the package.
# Usage: scripts/package.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}

"$here/scripts/install-missing.sh" dpkg-dev file lintian appstream desktop-file-utils
"$here/scripts/setup.sh" "$build"

cd "$build"
rm -f tavora71_*.deb
cpack -G DEB
debs=(tavora71_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "expected one tavora71 package, found: ${debs[*]}" >&2; exit 1; }
deb=${debs[0]}

failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' CMakeCache.txt)
id=$(sed -n 's/^set(TAVORA71_APP_ID \(.*\))$/\1/p' "$here/CMakeLists.txt")
[ -n "$version" ] && [ -n "$id" ] || { echo "cannot read the version or the desktop id" >&2; exit 1; }

echo "== dpkg-deb --info $deb"
dpkg-deb --info "$deb"
[ "$(dpkg-deb --field "$deb" Package)" = tavora71 ] || fail "package name"
[ "$(dpkg-deb --field "$deb" Version)" = "$version-1" ] || fail "version is not $version-1"
depends=$(dpkg-deb --field "$deb" Depends)
# Loaded at run time, so listed by hand; libqt6widgets6 shows that the library scan ran.
for p in fonts-noto-core fonts-farsiweb qt6-translations-l10n libqt6sql6-sqlite libqt6sql6-psql libqt6widgets6; do
  grep -qE "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p"
done

echo "== dpkg-deb --contents $deb"
contents=$(dpkg-deb --contents "$deb")
echo "$contents"
expected=(
  ./usr/bin/tavora71
  ./usr/lib/tavora71/tavora71
  "./usr/share/applications/$id.desktop"
  "./usr/share/metainfo/$id.metainfo.xml"
  "./usr/share/icons/hicolor/scalable/apps/$id.svg"
  ./usr/share/man/man1/tavora71.1.gz
  ./usr/share/doc/tavora71/copyright
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${expected[@]}"; do
  awk -v f="$f" '$NF == f { found = 1 } END { exit !found }' <<<"$contents" || fail "the package lacks $f"
done
for f in ./usr/bin/tavora71 ./usr/lib/tavora71/tavora71; do
  grep -qE "^-rwxr-xr-x .* $f$" <<<"$contents" || fail "$f is not executable"
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
echo "== desktop-file-validate"
desktop-file-validate "$unpacked/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
echo "== appstreamcli validate"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

# Warnings accepted are listed in the README; errors are not.
echo "== lintian"
lintian --fail-on error "$deb" || fail "lintian reports errors"

if [ "$failures" -gt 0 ]; then
  echo "$failures package check(s) failed" >&2
  exit 1
fi
echo "Package $build/$deb checked."

#!/usr/bin/env bash
# Makes the Debian package from a build, unpacks it into a folder of its own and checks what a
# system gets from it: exactly the programs, entries and icon, the libraries it needs named
# as dependencies, desktop entries that validate, and a program that runs.
#   check-deb.sh BUILD_DIR CPACK
set -euo pipefail
build=$1
cpack=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  exit 1
fi
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "expected one .deb, found: ${debs[*]}" >&2; exit 1; }
deb=${debs[0]}
dpkg-deb -x "$deb" "$work/root"
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

# Exactly these files, nothing left over from the build (tests, benchmarks, tools not meant
# for users).
expected="./etc/xdg/autostart/kestavon.desktop
./usr/bin/kestavon
./usr/bin/kestavon-inventory
./usr/share/applications/kestavon.desktop
./usr/share/icons/hicolor/scalable/apps/kestavon.svg"
actual=$(cd "$work/root" && find . -type f | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "the package holds:
$actual
expected:
$expected"
for program in kestavon kestavon-inventory; do
  [ -x "$work/root/usr/bin/$program" ] || fail "usr/bin/$program is not executable"
done

# The libraries the programs link, as Debian names their packages, and the SVG icon engine
# that Qt loads at run time.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6svg6 \
               libxcb1 libglib2.0-0; do
  [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] || fail "Depends lacks $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = kestavon ] || fail "the package is not named kestavon"

for entry in usr/share/applications/kestavon.desktop etc/xdg/autostart/kestavon.desktop; do
  desktop-file-validate "$work/root/$entry" || fail "$entry does not validate"
done
grep -qx 'Exec=kestavon --background' "$work/root/etc/xdg/autostart/kestavon.desktop" ||
  fail "the autostart entry does not start Kestavon in the background"
grep -qx 'Icon=kestavon' "$work/root/usr/share/applications/kestavon.desktop" ||
  fail "the desktop entry does not name the packaged icon"

version=$(dpkg-deb -f "$deb" Version)
said=$("$work/root/usr/bin/kestavon" --version) || fail "the packaged kestavon --version failed"
[[ $said == "Kestavon $version "* ]] || fail "the packaged program says \"$said\", the package version is $version"

[ $failed -eq 0 ] && echo "$(basename "$deb"): $(echo "$actual" | wc -l) files, Depends: $depends"
exit $failed

#!/usr/bin/env bash
# Builds the Debian package from the build with CPack, unpacks it into a
# scratch root with dpkg, runs the unpacked program, and has lintian check the
# package: no errors allowed.
#   debian_package.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$work/cpack.log")
[ -f "$deb" ] || { cat "$work/cpack.log"; fail "cpack named no package"; }

# The dependencies come from the binary: the Qt libraries it links are there.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6; do
  [[ ", $depends," == *", $lib "* ]] || fail "Depends lacks $lib: $depends"
done
# Qt's own texts in the user's language come with the package by default.
[[ ", $(dpkg-deb -f "$deb" Recommends)," == *", qt6-translations-l10n,"* ]] ||
  fail "Recommends lacks qt6-translations-l10n: $(dpkg-deb -f "$deb" Recommends)"
version=$(dpkg-deb -f "$deb" Version)

dpkg -x "$deb" "$work/root"
program=$work/root/usr/bin/zunopad
file -b "$program" | grep -q ', stripped' || fail "the program is not stripped: $(file -b "$program")"
got=$(env -i PATH=/usr/bin:/bin "$program" --version | head -1)
[ "$got" = "ZUNOPad Version: $version" ] || fail "--version says '$got', the package is $version"
# The packaged converter gives what the build's own program gives.
example=$(dirname "$0")/../../examples/ROAD1.PRJ
env -i PATH=/usr/bin:/bin "$program" --to-record "$example" >"$work/packaged.txt"
"$build/src/zunopad" --to-record "$example" >"$work/built.txt"
[ -s "$work/built.txt" ] && cmp -s "$work/packaged.txt" "$work/built.txt" ||
  fail "the packaged program converts $example differently"
for f in applications/zunopad.desktop mime/packages/zunopad.xml icons/hicolor/256x256/apps/zunopad.png \
         icons/hicolor/scalable/apps/zunopad.svg man/man1/zunopad.1.gz doc/zunopad/copyright \
         doc/zunopad/changelog.gz; do
  [ -s "$work/root/usr/share/$f" ] || fail "the package lacks /usr/share/$f"
done

lintian --fail-on error "$deb" 2>&1 | grep -v 'running with root privileges' || status=${PIPESTATUS[0]}
[ "${status:-0}" -eq 0 ] || fail "lintian reports errors"
echo "package: $(basename "$deb") ok"

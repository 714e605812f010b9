#!/usr/bin/env bash
# Installs the build into a scratch prefix, registers it the way the desktop's
# package triggers do (update-mime-database, update-desktop-database), and
# asks xdg-mime what it now knows: the type of each kind of ZUNO file in
# capitals, in small letters and mixed, and the application that opens it;
# the compiled database gives the type's description and parent. Also checks the icons, the manual page and the licence.
#   install_file_types.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "install: $*"; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share

# Only the scratch prefix and the system's own data: no user's settings.
export XDG_DATA_DIRS=$share:/usr/share XDG_DATA_HOME=$work/data
export XDG_CONFIG_HOME=$work/config XDG_CONFIG_DIRS=$work/xdg HOME=$work GIO_USE_VFS=local
unset XDG_CURRENT_DESKTOP KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID DISPLAY WAYLAND_DISPLAY
update-mime-database "$share/mime"
update-desktop-database "$share/applications"

declare -A types=(
  [PRJ]="application/x-zuno-project|ZUNO Project File"
  [CTL]="application/x-zuno-control|ZUNO Control File"
  [PAC]="application/x-zuno-points-and-chains|ZUNO Points and Chains File"
  [CAL]="application/x-zuno-calculated|ZUNO Calculated File"
  [EDI]="application/x-zuno-edited-project|ZUNO Editted Project File"
  [ALI]="application/x-zuno-horizontal-alignment|ZUNO Horizontal Alignment File"
  [PRO]="application/x-zuno-vertical-alignment|ZUNO Vertical Alignment File"
  [SUP]="application/x-zuno-superelevation|ZUNO Superelevation File"
)
mkdir "$work/files"
for ext in "${!types[@]}"; do
  type=${types[$ext]%%|*}
  description=${types[$ext]#*|}
  lower=$(echo "$ext" | tr 'A-Z' 'a-z')
  for name in "ROAD1.$ext" "road1.$lower" "Road1.${ext:0:1}${lower:1}"; do
    file=$work/files/$name
    printf 'AC:1001\r\nBG:5\r\nPL:1,2,3\r\n' >"$file"
    # xdg-mime reads a file's type through gio on the desktops Debian ships
    # (GNOME, Xfce, MATE, Cinnamon, LXDE); its generic fallback, file(1),
    # knows no shared-mime-info types.
    got=$(XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$file")
    [ "$got" = "$type" ] || fail "$name is '$got', not $type"
  done
  compiled=$share/mime/$type.xml
  grep -qF "<comment>$description</comment>" "$compiled" || fail "$type is not described as '$description'"
  grep -qF '<sub-class-of type="text/plain"/>' "$compiled" || fail "$type is not a kind of text/plain"
  got=$(xdg-mime query default "$type")
  [ "$got" = zunopad.desktop ] || fail "$type opens with '$got', not zunopad.desktop"
done

for size in 16 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x$size/apps/zunopad.png
  file -b "$icon" | grep -q "^PNG image data, $size x $size," || fail "$icon: $(file -b "$icon" 2>&1)"
done
grep -q '<svg' "$share/icons/hicolor/scalable/apps/zunopad.svg" || fail "no scalable icon"
[ -x "$prefix/bin/zunopad" ] || fail "no program"
zcat "$share/man/man1/zunopad.1.gz" | grep -q '^\.SH EXIT STATUS' || fail "no manual page"
grep -q 'GPL-3.0+' "$share/doc/zunopad/copyright" || fail "no licence"
ls "$share/metainfo/"*.metainfo.xml >/dev/null || fail "no metainfo"
echo "install: ok"

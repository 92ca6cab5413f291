#!/usr/bin/env bash
# The installed tree finds its shipped data wherever it is put: installs the build into a staging
# folder (or unpacks the Debian package there) and runs the installed programs on a fresh data
# folder. Nothing is installed into the machine itself.
#   installed_tree_test.sh --build BUILD_FOLDER    cmake --install into <staging>/usr
#   installed_tree_test.sh --deb PACKAGE.deb       dpkg-deb -x into <staging>
set -euo pipefail

fail() {
  echo "FAILED: $*" >&2
  exit 1
}
# expect TEXT WANTED WHAT: TEXT holds WANTED.
expect() { grep -qF -- "$2" <<<"$1" || fail "$3 lacks \"$2\":"$'\n'"$1"; }

stage=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-stage-XXXXXX")
trap 'rm -rf "$stage"' EXIT
case "${1:-}" in
  --build)
    cmake --install "$2" --prefix "$stage/usr" >/dev/null ;;
  --deb)
    dpkg-deb -x "$2" "$stage"
    depends=$(dpkg-deb -f "$2" Depends)
    for package in libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6; do
      expect "$depends" "$package" "the package's Depends"
    done ;;
  *)
    echo "usage: $0 --build BUILD_FOLDER | --deb PACKAGE.deb" >&2
    exit 2 ;;
esac
usr=$stage/usr
data=$stage/data

# Only the programs: no tests, benchmarks or build tools.
for program in "$usr"/bin/*; do
  case $(basename "$program") in
    vantorel | vantorel-cli | vantorel-sign) ;;
    *) fail "not a program of the installed tree: $program" ;;
  esac
done
for file in bin/vantorel bin/vantorel-cli share/vantorel/default.ldt share/vantorel/default.parts \
            share/vantorel/asc.fmd share/vantorel/gb16.fmd share/vantorel/ascii.ovf \
            share/vantorel/language/lang1031.lng share/applications/Orvik.Vantorel.v1.desktop \
            share/icons/hicolor/scalable/apps/vantorel.svg share/icons/hicolor/256x256/apps/vantorel.png \
            share/mime/packages/vantorel.xml; do
  [ -f "$usr/$file" ] || fail "the installed tree lacks $file"
done

# The menu entry and the file types are what the desktop's own tools accept.
desktop-file-validate "$usr/share/applications/Orvik.Vantorel.v1.desktop" || fail "the menu entry is not valid"
XDG_DATA_DIRS="$usr/share" update-mime-database "$usr/share/mime" 2>&1 | { ! grep .; } || fail "the file types are not valid"
expect "$(cat "$usr/share/mime/globs2")" "application/x-vantorel-playbill:*.lpl" "the file types"
expect "$(cat "$usr/share/mime/globs2")" "application/x-vantorel-screens:*.screens" "the file types"

cli() { VANTOREL_DATA_DIR=$data "$usr/bin/vantorel-cli" "$@"; }
expect "$(cli screens list)" $'Korvan-M5[1]\tKorvan-M5\tFull color\t48x48' "screens list"
# The default cross screen starts from the shipped default playbill.
expect "$(cli playbill show --screen 1)" $'Clock[1]\n  Window[1]\tleft 16 top 0 width 16 height 16' "playbill show"
expect "$(cli font list)" "Font library: GB2312 (font files in $usr/share/vantorel)" "font list"
expect "$(cli font render --size 16 --text 'LED 显示屏' "$stage/text.png")" "LEDs, GB2312 16-dot" "font render"
[ -s "$stage/text.png" ] || fail "font render wrote no picture"
expect "$(cli language list)" $'1031\tGerman (Germany)' "language list"

# Without VANTOREL_DATA_DIR the data folder is named after the program folder.
env -u VANTOREL_DATA_DIR -u XDG_DATA_HOME HOME="$stage/home" "$usr/bin/vantorel-cli" screens list >/dev/null
[ -f "$stage/home/.local/share/OrvikSoft/vantorel/screen.cfg" ] || fail "no data folder OrvikSoft/vantorel"

# The editor without a display hands over to the vantorel-cli beside it.
shown=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM VANTOREL_DATA_DIR="$data" "$usr/bin/vantorel" 2>&1)
expect "$shown" "Clock[1]" "the editor without a display"
expect "$shown" "00010000.lpb" "the editor without a display makes the sign's files"

# The editor opens a playbill named on its command line, as a double-click does.
cli playbill layout 0 >/dev/null
exported=$(cli playbill show --screen 1)
cli playbill export "$stage/one window.lpl" >/dev/null
cli playbill new >/dev/null
[ "$(cli playbill show --screen 1)" != "$exported" ] || fail "playbill new changed nothing"
VANTOREL_DATA_DIR=$data QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$stage} \
  timeout 60 "$usr/bin/vantorel" --screenshot "$stage/editor.png" "$stage/one window.lpl" 2>/dev/null ||
  fail "the installed editor did not start"
[ -s "$stage/editor.png" ] || fail "the installed editor showed nothing"
[ "$(cli playbill show --screen 1)" = "$exported" ] || fail "the editor did not open the file named on its command line"
echo "installed tree: ok ($usr)"

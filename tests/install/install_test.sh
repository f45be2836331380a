#!/usr/bin/env bash
# The installed program as a user meets it: `cmake --install` into a scratch DESTDIR, then the
# installed tolvane-convert run from a copy of that tree which it cannot write (as an
# unprivileged user when the test runs as root), with HOME and XDG_CONFIG_HOME in the scratch
# folder. Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
id=org.tolvane.Tolvane

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tolvane_install.XXXXXX")
trap 'chmod -R u+w "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
fail() {
  echo "install_test: $*" >&2
  exit 1
}

DESTDIR="$scratch/dest" cmake --install "$build" --prefix /usr >/dev/null
tree="$scratch/dest/usr"

# What is installed: the two programs and nothing else in bin/, the icons, the desktop files.
expected_bin="tolvane-convert"
[[ -x "$build/tolvane" ]] && expected_bin=$'tolvane\ntolvane-convert'
[[ "$(ls "$tree/bin")" == "$expected_bin" ]] || fail "bin/ holds: $(ls "$tree/bin" | tr '\n' ' ')"
for file in share/tolvane/icons/pt000.png share/tolvane/icons/pt337.png \
  share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
  share/man/man1/tolvane.1.gz share/man/man1/tolvane-convert.1.gz; do
  [[ -s "$tree/$file" ]] || fail "missing $file"
done
desktop-file-validate "$tree/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net --no-color "$tree/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "metainfo: $(appstreamcli validate --no-net --no-color "$tree/share/metainfo/$id.metainfo.xml")"
grep -q "^Icon=$id$" "$tree/share/applications/$id.desktop" || fail "desktop entry's icon"

# The copyright file names the Leaflet built into the programs: its licence, holders and years.
copyright="$tree/share/doc/tolvane/copyright"
grep -q "BSD-2-Clause licence" "$copyright" || fail "copyright: no Leaflet licence"
grep -Eq "^Copyright \(c\) 2010-20[0-9]{2} Vladimir Agafonkin$" "$copyright" ||
  fail "copyright: no Leaflet holder"
! grep -q "@[A-Z_]*@" "$copyright" || fail "copyright: $(grep "@[A-Z_]*@" "$copyright")"

# The user, their home and their work folder.
home="$scratch/home"
work="$scratch/work"
mkdir -p "$home" "$work"
cp "$source/examples/example.log" "$work/"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
  chown -R nobody "$home" "$work"
  as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
fi
run() {
  env -i PATH=/usr/bin:/bin LC_ALL=C.UTF-8 HOME="$home" "$@"
}
user() {
  run XDG_CONFIG_HOME="$home/config" "${as_user[@]}" "$@"
}

# An installation elsewhere, which its user cannot write.
cp -a "$tree" "$scratch/opt"
chmod -R a-w "$scratch/opt"
convert="$scratch/opt/bin/tolvane-convert"

# The KML's heading icons are the installed ones, and they are there.
user "$convert" -q -o "$work/example.kml" "$work/example.log" || fail "conversion"
hrefs=$(grep -o '<href>[^<]*pt[0-9]*\.png</href>' "$work/example.kml" | sed 's/<[/]*href>//g' | sort -u)
[[ $(wc -l <<<"$hrefs") -eq 16 ]] || fail "heading icons named: $hrefs"
while read -r url; do
  [[ "$url" == "file://$scratch/opt/share/tolvane/icons/pt"*.png ]] || fail "icon URL $url"
  [[ -s "${url#file://}" ]] || fail "no file behind $url"
done <<<"$hrefs"
[[ ! -e "$home/config" ]] || fail "converting alone wrote settings"

# --save-settings writes under XDG_CONFIG_HOME, with the default icon URL left empty; without
# the variable, under ~/.config.
user "$convert" --set GoogleEarth.mode=5 --save-settings 2>/dev/null || fail "saving"
ini="$home/config/tolvane/Tolvane.ini"
[[ -f "$ini" ]] || fail "no $ini"
grep -q $'^icon_url=\r$' "$ini" || fail "icon_url saved as $(grep icon_url "$ini")"
grep -q $'^mode=5\r$' "$ini" || fail "mode not saved"
run "${as_user[@]}" "$convert" --save-settings 2>/dev/null || fail "saving without XDG_CONFIG_HOME"
[[ -f "$home/.config/tolvane/Tolvane.ini" ]] || fail "not saved under ~/.config"

# A portable copy: the Tolvane.ini beside its program is the one used, and saved.
portable="$work/portable"
cp -a "$tree" "$portable"
printf '[Common]\r\nicon_url=http://example.org/icons\r\n[GoogleEarth]\r\nmode=0\r\n' \
  >"$portable/bin/Tolvane.ini"
[[ $(id -u) -eq 0 ]] && chown -R nobody "$portable"
user "$portable/bin/tolvane-convert" -q -o "$work/portable.kml" "$work/example.log" ||
  fail "portable conversion"
grep -q '<href>http://example.org/icons/pt000.png</href>' "$work/portable.kml" ||
  fail "the portable settings were not used"
! grep -q '<name>Points</name>' "$work/portable.kml" || fail "GoogleEarth.mode=0 not used"
user "$portable/bin/tolvane-convert" --set GoogleEarth.mode=7 --save-settings 2>/dev/null
grep -q $'^mode=7\r$' "$portable/bin/Tolvane.ini" || fail "portable settings not saved beside it"
grep -q $'^mode=5\r$' "$ini" || fail "the user's settings changed"
echo "install_test: passed"

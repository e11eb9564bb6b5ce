#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed programs from a folder that
# is not the build tree: both answer --version, and the command-line tool makes a demo base
# level and project and builds the level, with floor.dat found in <prefix>/share/morvane3d.
#   install_test.sh SOURCE_DIR BUILD_DIR VERSION APP_ID
set -euo pipefail

source_dir=$1
build_dir=$2
version=$3
app_id=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

prefix=$work/prefix
cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" ||
    { cat "$work/install.log" >&2; fail "cmake --install $build_dir --prefix $prefix"; }

for file in bin/morvane3d bin/morvane3d-cli; do
    [ -x "$prefix/$file" ] || fail "$file was not installed as a program"
done
for name in floor.dat solid.bmp; do
    cmp -s "$source_dir/data/$name" "$prefix/share/morvane3d/$name" ||
        fail "share/morvane3d/$name is not the repository's data/$name"
    [ ! -e "$prefix/bin/$name" ] || fail "$name was installed beside the programs"
done

# The desktop entry names the installed icon, and the metainfo the installed desktop entry.
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
[ -f "$desktop" ] || fail "share/applications/$app_id.desktop was not installed"
[ -f "$metainfo" ] || fail "share/metainfo/$app_id.metainfo.xml was not installed"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
    fail "the desktop entry's icon \"$icon\" is not in share/icons/hicolor/scalable/apps"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ -x "$prefix/bin/${exec_line%% *}" ] || fail "the desktop entry runs \"$exec_line\", not installed"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$prefix/share/applications/$launchable" ] ||
    fail "the metainfo launches \"$launchable\", which is not installed"
grep -qF "<release version=\"$version\"" "$metainfo" || fail "the metainfo does not name $version"

# Run from a folder outside the build tree; the editor answers --version without a display.
mkdir "$work/levels"
cd "$work/levels"
cli=$prefix/bin/morvane3d-cli
[ "$("$cli" --version)" = "morvane3d-cli $version" ] || fail "morvane3d-cli --version"
editor_version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/morvane3d" --version) ||
    fail "morvane3d --version failed without a display"
[ "$editor_version" = "morvane3d $version" ] ||
    fail "morvane3d --version printed \"$editor_version\", not \"morvane3d $version\""
env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/morvane3d" --help | grep -q "^usage: morvane3d" ||
    fail "morvane3d --help printed no usage without a display"

"$cli" make-demo-level --layout tr1 "$PWD/DEMO.PHD"
"$cli" make-demo-project demo.mvn --base "$PWD/DEMO.PHD" --out "$PWD/BUILT.PHD"
"$cli" build demo.mvn 2>build.log || { cat build.log >&2; fail "the installed build"; }
[ -s BUILT.PHD ] || fail "the installed build wrote no level"
grep -q "^Level written: $PWD/BUILT.PHD" build.log || fail "no report line: $(cat build.log)"
"$cli" info BUILT.PHD >info.json || fail "the built level cannot be read back"

# The whole prefix moved elsewhere still finds its data files.
moved=$work/moved
mv "$prefix" "$moved"
rm BUILT.PHD
"$moved/bin/morvane3d-cli" build demo.mvn 2>moved.log ||
    { cat moved.log >&2; fail "the build of the moved prefix"; }
[ -s BUILT.PHD ] || fail "the moved prefix's build wrote no level"

# Without the installed floor.dat the build stops, writes nothing and names where it looked.
rm "$moved/share/morvane3d/floor.dat" BUILT.PHD
if "$moved/bin/morvane3d-cli" build demo.mvn 2>missing.log; then
    fail "the build succeeded without floor.dat"
fi
grep -qF "File not found in $moved/bin or $moved/share/morvane3d" missing.log ||
    fail "the message does not name both folders: $(cat missing.log)"
[ ! -e BUILT.PHD ] || fail "a level was written without floor.dat"
echo "installed into $prefix, moved, built: all checks passed"

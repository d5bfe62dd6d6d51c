#!/usr/bin/env bash
# What a desktop user and a Debian packager get: installs the build into a scratch folder and
# packages it as a .deb, then checks the files, the launcher, the AppStream record as software
# centres compose it, the package under lintian, that packing again gives the same bytes, the
# hardening of the program, and the installed program itself.
# Usage: check_install.sh BUILD_DIR APP_ID EXECUTABLE
set -euo pipefail
build=$1 app_id=$2 executable=$3

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
source "$(dirname "$0")/pack.sh"

icons=usr/share/icons/hicolor
expected=$(sort <<EOF2
usr/bin/$executable
usr/share/applications/$app_id.desktop
usr/share/doc/$executable/changelog.gz
usr/share/doc/$executable/copyright
$icons/16x16/apps/$app_id.png
$icons/32x32/apps/$app_id.png
$icons/48x48/apps/$app_id.png
$icons/64x64/apps/$app_id.png
$icons/128x128/apps/$app_id.png
$icons/256x256/apps/$app_id.png
$icons/scalable/apps/$app_id.svg
usr/share/man/man1/$executable.1.gz
usr/share/metainfo/$app_id.metainfo.xml
EOF2
)

root=$work/root
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
installed=$(cd "$root" && find . ! -type d | sed 's|^\./||' | sort)
[[ "$installed" == "$expected" ]] || fail "installed files differ:"$'\n'"$installed"

# Each hicolor PNG is as large as the folder it is in says (width and height from the IHDR).
for png in "$root/$icons"/*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [[ "${width}x${height}" == "$size" ]] || fail "$png is ${width}x${height}"
done

desktop-file-validate "$root/usr/share/applications/$app_id.desktop" ||
    fail "the desktop entry does not validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    fail "the AppStream metainfo does not validate"
# Software centres list what the catalogue compose keeps; it drops an application without an
# icon of at least 64 pixels.
appstreamcli compose --no-net --origin=check --result-root="$work/compose" "$root" \
    >"$work/compose.log" 2>&1 || { cat "$work/compose.log"; fail "appstreamcli compose failed"; }
catalog=$(find "$work/compose" -name '*.xml.gz' -exec zcat {} +)
[[ "$catalog" == *"<id>$app_id</id>"* ]] || { cat "$work/compose.log"; fail "the compose dropped the component"; }
[[ "$catalog" == *'<icon type="cached" width="64" height="64">'* ]] ||
    { cat "$work/compose.log"; fail "the composed component has no 64-pixel icon"; }

pack "$build" "$work/package" "$build/app/$executable"
deb=$(find "$work/package" -maxdepth 1 -name '*.deb')
[[ -n "$deb" ]] || fail "no package was made"
packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort)
[[ "$packaged" == "$expected" ]] || fail "the package holds other files:"$'\n'"$packaged"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 qt6-qpa-plugins; do
    [[ "$depends" == *"$needed"* ]] || fail "the package does not depend on $needed: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ "$recommends" == *qt6-wayland* ]] ||
    fail "the package does not recommend qt6-wayland, for a native window on Wayland: $recommends"
changelog_version=$(dpkg-parsechangelog -l "$root/usr/share/doc/$executable/changelog.gz" -S Version)
[[ "$changelog_version" == "$(dpkg-deb -f "$deb" Version)" ]] ||
    fail "the changelog's latest entry is $changelog_version, the package $(dpkg-deb -f "$deb" Version)"

# Debian's own gate: no error and no warning (information and pedantic notes are allowed).
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log"; fail "lintian rejects the package"; }

# The shipped binary is hardened: every file of ours compiled with fortified library calls and
# the stack protector, and the program linked with full RELRO and immediate binding. (Whether a
# call can be fortified depends on the call, so the flags are checked where they are given.)
for flag in '-D_FORTIFY_SOURCE=[1-9]' '-fstack-protector-strong'; do
    unhardened=$(grep '"command"' "$build/compile_commands.json" | grep -v -e "$flag" || true)
    [[ -z "$unhardened" ]] || fail "compiled without $flag:"$'\n'"$unhardened"
done
dpkg-deb -x "$deb" "$work/unpacked"
binary=$work/unpacked/usr/bin/$executable
headers=$(readelf -lW "$binary") dynamic=$(readelf -dW "$binary")
symbols=$(readelf --dyn-syms -W "$binary") sections=$(readelf -SW "$binary")
[[ "$headers" == *GNU_RELRO* ]] || fail "no RELRO"
[[ "$dynamic" == *BIND_NOW* ]] || fail "no immediate binding (BIND_NOW)"
[[ "$symbols" == *__stack_chk_fail* ]] || fail "no stack protector"
[[ "$sections" != *.debug_* && "$sections" != *.symtab* ]] || fail "the program is not stripped"

# The installed program starts and keeps running until it is stopped. Extra arguments are not
# the program's and are ignored: were "-platform xcb" passed on to Qt, it would need a display
# (there is none here) and end the program at once.
for arguments in "" "-platform xcb -style nonsense --help extra"; do
    # shellcheck disable=SC2086 # the arguments are meant to be split
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
        "$root/usr/bin/$executable" $arguments >/dev/null 2>&1 &
    pids+=($!)
    sleep 1.5
    kill -0 "${pids[-1]}" 2>/dev/null || fail "the program ended by itself (arguments: '$arguments')"
    kill "${pids[-1]}"
done
echo "installed files, launcher, AppStream compose, package, lintian, hardening and program all as expected"

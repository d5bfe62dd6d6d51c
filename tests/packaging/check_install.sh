#!/usr/bin/env bash
# What a desktop user gets: installs the build into a scratch folder and packages it as a .deb,
# then checks the files, the launcher, the AppStream record, the package and the installed program.
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

expected=$(sort <<EOF2
usr/bin/$executable
usr/share/applications/$app_id.desktop
usr/share/icons/hicolor/16x16/apps/$app_id.png
usr/share/icons/hicolor/32x32/apps/$app_id.png
usr/share/icons/hicolor/48x48/apps/$app_id.png
usr/share/metainfo/$app_id.metainfo.xml
EOF2
)

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
installed=$(cd "$work/root" && find . ! -type d | sed 's|^\./||' | sort)
[[ "$installed" == "$expected" ]] || fail "installed files differ:"$'\n'"$installed"

desktop-file-validate "$work/root/usr/share/applications/$app_id.desktop" ||
    fail "the desktop entry does not validate"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    fail "the AppStream metainfo does not validate"

(cd "$build" && cpack -B "$work/package" >/dev/null)
deb=$(find "$work/package" -maxdepth 1 -name '*.deb')
[[ -n "$deb" ]] || fail "no package was made"
packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort)
[[ "$packaged" == "$expected" ]] || fail "the package holds other files:"$'\n'"$packaged"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 qt6-qpa-plugins; do
    [[ "$depends" == *"$needed"* ]] || fail "the package does not depend on $needed: $depends"
done

# The installed program starts and keeps running until it is stopped. Extra arguments are not
# the program's and are ignored: were "-platform xcb" passed on to Qt, it would need a display
# (there is none here) and end the program at once.
for arguments in "" "-platform xcb -style nonsense --help extra"; do
    # shellcheck disable=SC2086 # the arguments are meant to be split
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
        "$work/root/usr/bin/$executable" $arguments >/dev/null 2>&1 &
    pids+=($!)
    sleep 1.5
    kill -0 "${pids[-1]}" 2>/dev/null || fail "the program ended by itself (arguments: '$arguments')"
    kill "${pids[-1]}"
done
echo "installed files, launcher, metainfo, package and program all as expected"

# Sourced by the package checks, which define fail().
# pack BUILD_DIR OUT_DIR FILE...: makes the build's packages in OUT_DIR, then packs again a second
# later, with the FILEs dated anew as a rebuild would date them, and fails unless every package
# has the same bytes: whoever packs a commit, and whenever, ships the same. Both run without
# SOURCE_DATE_EPOCH, as a newcomer's cpack does.
pack() {
    local build=$1 out=$2
    shift 2
    (cd "$build" && env -u SOURCE_DATE_EPOCH cpack -B "$out" >/dev/null)
    sleep 1
    touch "$@"
    (cd "$build" && env -u SOURCE_DATE_EPOCH cpack -B "$out/again" >/dev/null)
    local package
    while read -r package; do
        cmp -s "$out/$package" "$out/again/$package" ||
            fail "$package has other bytes when packed again: $(cmp "$out/$package" "$out/again/$package")"
    done < <(find "$out" -maxdepth 1 -type f -printf '%f\n')
}

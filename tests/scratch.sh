# Sourced by the desktop-session scripts: a scratch folder in $work (private to the user, as a
# runtime folder must be), removed, and every background process of the script stopped, when
# the script exits.
work=$(mktemp -d)
chmod 700 "$work"
cleanup() {
    kill $(jobs -p) 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

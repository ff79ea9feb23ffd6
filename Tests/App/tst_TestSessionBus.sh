#!/usr/bin/env bash
# The tests' session bus (scripts/with-keyring) runs only what the script starts itself: no
# session service installed on the machine is activatable there, and asking for one starts
# nothing, so none answers in place of a test's fake or opens a window on the person's screen.
# A desktop portal is installed for the check, in a data folder of its own that a desktop's
# session bus would read.
#   tst_TestSessionBus.sh <scripts/with-keyring>
set -euo pipefail
if [ "${1:-}" != --inside ]; then
    installed=$(mktemp -d)
    trap 'rm -rf "$installed"' EXIT
    mkdir -p "$installed/dbus-1/services"
    printf '[D-BUS Service]\nName=org.freedesktop.portal.Desktop\nExec=/usr/bin/touch %s/started\n' "$installed" \
        >"$installed/dbus-1/services/org.freedesktop.portal.Desktop.service"
    status=0
    env -u TESSMARK_IN_KEYRING_SESSION XDG_DATA_DIRS="$installed:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}" \
        "$1" "$0" --inside || status=$?
    if [ -e "$installed/started" ]; then
        echo 'FAIL: the portal installed for the check was started'
        status=1
    fi
    exit $status
fi

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
bus() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method "org.freedesktop.DBus.$1" "${@:2}"
}

# What the script starts: the keyring (under both of its names) and the accessibility bus.
ours=" org.freedesktop.secrets org.gnome.keyring org.a11y.Bus "
for name in org.freedesktop.secrets org.a11y.Bus; do
    [ "$(bus NameHasOwner "$name")" = "(true,)" ] || fail "$name does not run"
done
activatable=$(bus ListActivatableNames)
[ "$activatable" = "(['org.freedesktop.DBus'],)" ] || fail "activatable on the tests' bus: $activatable"

# Every session service of the machine's folders, and the portal above.
declare -A seen=()
IFS=: read -ra folders <<<"$XDG_DATA_DIRS:$HOME/.local/share:/usr/local/share:/usr/share"
for folder in "${folders[@]}"; do
    for file in "$folder"/dbus-1/services/*.service; do
        [ -f "$file" ] || continue
        name=$(sed -n 's/^Name=//p' "$file" | head -n 1)
        [ -n "$name" ] && [ -z "${seen[$name]:-}" ] || continue
        seen[$name]=1
        if [ "$(bus NameHasOwner "$name")" = "(true,)" ]; then
            [[ "$ours" == *" $name "* ]] || fail "$name runs on the tests' bus"
        elif bus StartServiceByName "$name" 0 >/dev/null 2>&1; then
            fail "$name started on demand"
        fi
    done
done
[ -n "${seen[org.freedesktop.portal.Desktop]:-}" ] || fail 'the portal installed for the check was not found'
echo "checked ${#seen[@]} installed session services"
exit $((failures > 0))

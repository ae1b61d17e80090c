#!/usr/bin/env bash
# End to end: with the program installed by the installer into a folder whose
# path holds a blank and a "%", and started once (which registers its browser
# hook), `xdg-open 'vantorel:...'` in its generic mode (as Chromium uses it
# outside the big desktops) and `gio open 'vantorel:...'` (as Firefox does)
# each start it with the selection, and it downloads the patent from the
# reference service.
# Usage: scheme_e2e.sh REPO BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/service.sh"
. "$(dirname "$0")/need_tools.sh"
# A real window on the X server: the suites run Qt offscreen otherwise.
export QT_QPA_PLATFORM=xcb
repo=$1
build=$2
need_tools xvfb-run xauth xdg-open xdg-mime curl gio

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    # The windows the handler started, known by their exact program file.
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/exe" 2>/dev/null)" = "$install/bin/vantorel-patent-downloader" ] &&
            kill "${proc#/proc/}" 2>/dev/null
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export XDG_STATE_HOME=$work/state XDG_CURRENT_DESKTOP=X-Generic
unset DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID BROWSER
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
install="$work/in stall 5%"

start_service "$build/service/vantorel-service" "$work/service.out"

"$repo/scripts/install.sh" --build-dir "$build" --prefix "$install" \
    --service-host "127.0.0.1:$port" >"$work/install.out"
# Keep the viewer out of it: this run only downloads.
sed -i 's/^PDFAction=.*/PDFAction=2/' "$install/tessariant.ini"

xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    # A first start registers the hook; it is closed again at once.
    "$1/bin/vantorel-patent-downloader" & first=$!
    for _ in $(seq 100); do
        [ -f "$XDG_DATA_HOME/applications/vantorel-url-handler.desktop" ] && break
        sleep 0.1
    done
    sleep 0.5
    kill $first; wait $first 2>/dev/null
    xdg-open "vantorel:US%206%2C892%2C391" >"$2/xdg-open.out" 2>&1 &
    gio open "vantorel:EP1534056" >"$2/gio.out" 2>&1 &
    for _ in $(seq 300); do
        [ -f "$1/patents/US6892391.pdf" ] && [ -f "$1/patents/EP1534056.pdf" ] && break
        sleep 0.1
    done
    sleep 0.5
    exit 0
' sh "$install" "$work"

fail=0
grep -qx 'x-scheme-handler/vantorel=vantorel-url-handler.desktop' "$XDG_CONFIG_HOME/mimeapps.list" ||
    { echo "the handler is not the user's default"; fail=1; }
[ -f "$install/browser-extension/manifest.json" ] || { echo "no browser extension"; fail=1; }
for number in US6892391 EP1534056; do
    if [ -f "$install/patents/$number.pdf" ]; then
        curl -fsS "http://127.0.0.1:$port/files/${number}_full.pdf" -o "$work/expected.pdf"
        cmp "$install/patents/$number.pdf" "$work/expected.pdf" || { echo "$number differs"; fail=1; }
    else
        echo "$number was not downloaded"; cat "$work/xdg-open.out" "$work/gio.out" || true; fail=1
    fi
done
[ $fail -eq 0 ] && echo "end-to-end: xdg-open and gio open of vantorel: addresses downloaded US6892391 and EP1534056"
exit $fail

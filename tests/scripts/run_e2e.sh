#!/usr/bin/env bash
# README command 1 end to end, in a scratch home: scripts/run.sh first
# without a display (installs, starts the service, says how to use
# xvfb-run), then under xvfb-run with a patent number (reuses the service,
# the window opens and downloads the patent a second later).
# Usage: run_e2e.sh REPO BUILD_DIR
set -uo pipefail
# A real window on the X server: the suites run Qt offscreen otherwise.
export QT_QPA_PLATFORM=xcb
repo=$1
build=$2
. "$repo/tests/e2e/need_tools.sh"
[ -x "$build/src/app/vantorel-patent-downloader" ] || {
    echo "FAILED: the window program (target vantorel-patent-downloader) is not built in $build"
    exit 1
}
need_tools xvfb-run xauth xwininfo pdfinfo timeout shuf

work=$(mktemp -d)
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state
export VANTOREL_BUILD_DIR=$build
unset VANTOREL_INSTALL_DIR
install_dir=$XDG_DATA_HOME/vantorel-patent-downloader
pid_file=$XDG_STATE_HOME/vantorel/service.pid
cleanup() {
    [ -f "$pid_file" ] && kill "$(cat "$pid_file")" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$HOME" "$work/bin"

port=
for candidate in $(shuf -i 20000-60000 -n 50); do
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then port=$candidate; break; fi
done
[ -n "$port" ] || { echo "no free port"; exit 1; }
export VANTOREL_SERVICE_PORT=$port

# Stand-ins: a viewer that records what it is asked to open, and a package
# tool that records instead of reaching the network.
cat >"$work/bin/xdg-open" <<SH
#!/bin/sh
printf '%s\n' "\$1" >>"$work/opened"
SH
cat >"$work/bin/apt-get" <<SH
#!/bin/sh
printf '%s\n' "\$*" >>"$work/apt-get"
SH
chmod +x "$work/bin/xdg-open" "$work/bin/apt-get"
export PATH=$work/bin:$PATH

failures=0
passes=0
check() {
    local label=$1
    shift
    if "$@"; then echo "ok: $label"; passes=$((passes + 1)); else echo "FAILED: $label"; failures=$((failures + 1)); fi
}
valid_pdf() { pdfinfo "$1" >/dev/null 2>&1; }
answers() {
    local reply
    reply=$(timeout 3 bash -c 'exec 3<>"/dev/tcp/127.0.0.1/$1" && printf "GET / HTTP/1.0\r\n\r\n" >&3 && head -c 4096 <&3' \
        _ "$port" 2>/dev/null | tr -d '\0')
    grep -qi '^Server: vantorel-service' <<<"$reply"
}

# 1. No display.
env -u DISPLAY -u WAYLAND_DISPLAY "$repo/scripts/run.sh" US6892391 >"$work/first.out" 2>"$work/first.err"
status=$?
check "without a display it exits non-zero" test "$status" -ne 0
check "and says so in one line naming xvfb-run" grep -q 'no display.*xvfb-run -a scripts/run.sh US6892391' "$work/first.err"
check "the service answers" answers
check "the program is installed" test -x "$install_dir/bin/vantorel-patent-downloader"
check "InstallPath recorded" grep -qF "\"InstallPath\"=\"$install_dir\"" "$XDG_CONFIG_HOME/vantorel/registry.reg"
check "first Settings file names the service" grep -qx "Host=localhost:$port" "$install_dir/tessariant.ini"
first_pid=$(cat "$pid_file" 2>/dev/null)
[ -f "$work/apt-get" ] && echo "note: run.sh asked for packages: $(cat "$work/apt-get")"

# 2. Under xvfb-run with a patent number.
cat >"$work/inside.sh" <<SH
set -u
"$repo/scripts/run.sh" US6892391 >"$work/second.out" 2>"$work/second.err" &
window=\$!
for _ in \$(seq 150); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Vantorel Patent Downloader"' && break
    sleep 0.2
done
xwininfo -root -tree | grep -q '"Vantorel Patent Downloader"' && echo window >"$work/seen"
for _ in \$(seq 150); do
    [ -s "$work/opened" ] && break
    sleep 0.2
done
sleep 0.5
if [ -n "\${VANTOREL_E2E_SCREENSHOT:-}" ] && command -v import >/dev/null; then
    import -window root "\$VANTOREL_E2E_SCREENSHOT"
fi
kill -0 \$window 2>/dev/null && echo alive >"$work/alive"
kill \$window 2>/dev/null
wait \$window 2>/dev/null
exit 0
SH
xvfb-run -a -s "-screen 0 1280x900x24" bash "$work/inside.sh"
check "the window opened" test -f "$work/seen"
check "the window stayed open" test -f "$work/alive"
check "no second service" test "$(cat "$pid_file" 2>/dev/null)" = "$first_pid"
check "run.sh saw the running service" grep -q 'already answers' "$work/second.err"
check "US6892391 was downloaded" test -s "$install_dir/patents/US6892391.pdf"
check "it is a valid PDF" valid_pdf "$install_dir/patents/US6892391.pdf"
check "and handed to the viewer" grep -q 'US6892391.pdf' "$work/opened"
check "the service still answers" answers
# The program found its folder through the installer's registry value: it
# writes its browser script there and its menu key beside InstallPath.
registry=$XDG_CONFIG_HOME/vantorel/registry.reg
check "the program wrote tessariant.html into InstallPath" test -f "$install_dir/tessariant.html"
check "and its MenuExt key into the registry file" grep -q 'MenuExt' "$registry"
"$repo/scripts/install.sh" --build-dir "$build" >/dev/null 2>&1
check "a later install keeps that key" grep -q 'MenuExt' "$registry"
check "and one InstallPath" test "$(grep -ci '^"InstallPath"=' "$registry")" = 1
if [ "$failures" -ne 0 ]; then
    for f in first.out first.err second.out second.err; do echo "--- $f"; cat "$work/$f" 2>/dev/null | tail -20; done
    echo "--- service log"; tail -20 "$XDG_STATE_HOME/vantorel/service.log" 2>/dev/null
fi
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]

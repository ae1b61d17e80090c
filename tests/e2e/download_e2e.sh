#!/usr/bin/env bash
# End to end: the real program under Xvfb, given two patents on its command
# line, downloads them from a running reference service and hands them to a
# recording viewer, with no box left open. With "https" the service serves
# https under a throwaway CA that the Settings file names as its CAFile.
# Usage: download_e2e.sh PROGRAM SERVICE [https]
set -euo pipefail
. "$(dirname "$0")/service.sh"
. "$(dirname "$0")/need_tools.sh"
# A real window on the X server: the suites run Qt offscreen otherwise.
export QT_QPA_PLATFORM=xcb
program=$1
service=$2
scheme=${3:-http}
need_tools xvfb-run xauth xwininfo curl cmp

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
install=$work/install
mkdir -p "$HOME" "$XDG_CONFIG_HOME/vantorel" "$install/patents" "$work/bin"

# The reference service on a free loopback port.
host=127.0.0.1
tls=() ca_line='' curl_ca=()
if [ "$scheme" = https ]; then
    "$(dirname "$0")/../support/make_certificates.sh" "$work/certs"
    tls=(--tls-cert "$work/certs/good.pem" --tls-key "$work/certs/good.key")
    ca_line="CAFile=$work/certs/ca.pem"
    curl_ca=(--cacert "$work/certs/ca.pem")
    host=https://localhost
fi
start_service "$service" "$work/service.out" "${tls[@]}"

printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vantorel Patent Downloader]\r\n"InstallPath"="%s"\r\n' \
    "$install" >"$XDG_CONFIG_HOME/vantorel/registry.reg"
printf '[Main]\nLogin=demo\nPswd=demo\nPath=%s/patents/\nTimeout=30\nPDFAction=0\n[Service]\nHost=%s:%s\n%s\n' \
    "$install" "$host" "$port" "$ca_line" >"$install/tessariant.ini"

# A viewer that only records what it was asked to open.
cat >"$work/bin/xdg-open" <<SH
#!/bin/sh
echo "\$1" >>"$work/opened.log"
SH
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$1" "US6892391;EP1534056" &
    app=$!
    for _ in $(seq 300); do
        [ -f "$2" ] && [ "$(wc -l <"$2")" -ge 2 ] && break
        sleep 0.1
    done
    sleep 0.5
    xwininfo -root -children >"$3" 2>&1 || true
    kill $app
    wait $app 2>/dev/null
    exit 0
' sh "$program" "$work/opened.log" "$work/windows.txt"

fail=0
for number in US6892391 EP1534056; do
    file=$install/patents/$number.pdf
    if [ ! -f "$file" ]; then
        echo "missing $file"; fail=1; continue
    fi
    curl -fsS "${curl_ca[@]}" "$scheme://localhost:$port/files/${number}_full.pdf" -o "$work/$number.expected"
    cmp "$file" "$work/$number.expected" || { echo "$number differs from the service's file"; fail=1; }
    grep -qx "$file" "$work/opened.log" || { echo "$number was not handed to the viewer"; fail=1; }
done
# Only the main window may be there: a box left open would be a second top-level
# window of the program's class (Qt's own helper windows carry no class).
windows=$(grep -c '"Vantorel Patent Downloader": ("vantorel-patent-downloader"' "$work/windows.txt" || true)
if [ "$windows" -ne 1 ]; then
    echo "expected one window titled Vantorel Patent Downloader, found $windows"
    cat "$work/windows.txt"
    fail=1
fi
if [ "$scheme" = https ] && ! grep -q "over https" "$work/service.out"; then
    echo "the service did not serve https"; fail=1
fi
[ $fail -eq 0 ] && echo "end-to-end download over $scheme: both patents saved and opened"
exit $fail

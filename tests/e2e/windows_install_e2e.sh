#!/usr/bin/env bash
# End to end on Windows (Wine): the installer, run silently into a fresh Wine
# prefix, installs the program; the program, started with two patents on its
# command line, downloads them from the reference service running natively,
# writes its browser menu entry, and is closed; the silent uninstaller then
# removes the program and keeps the PDFs and the Settings file. Last, an
# install for a service over https (a throwaway CA named in CAFile) downloads
# a patent over Schannel.
# Usage: windows_install_e2e.sh SETUP_EXE SERVICE
# Needs DISPLAY (an X server of the caller's own), wine64, xdotool and curl.
set -euo pipefail
. "$(dirname "$0")/service.sh"
setup=$1
service=$2
wine=${WINE:-/usr/lib/wine/wine64}
wineserver=$(dirname "$wine")/wineserver
[ -n "${DISPLAY:-}" ] || { echo "DISPLAY is not set"; exit 1; }
command -v xdotool >/dev/null || { echo "xdotool is missing"; exit 1; }

work=$(mktemp -d)
pids=()
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko prompts, and nothing written into the desktop's menus.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    "$wineserver" -k 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}
reg_value() {  # reg_value KEY NAME ("" for the default value): prints TYPE DATA
    local args=(/v "$2")
    [ -n "$2" ] || args=(/ve)
    "$wine" reg query "$1" "${args[@]}" 2>/dev/null | tr -d '\r' |
        sed -n 's/^ \{4\}.\{0,\}\(REG_[A-Z_]*\) \{4\}\(.*\)$/\1 \2/p' | head -n1
}
has_key() { "$wine" reg query "$1" >/dev/null 2>&1; }
visible_windows() { xdotool search --onlyvisible --name '^Vantorel Patent Downloader$' 2>/dev/null | wc -l; }

started=$SECONDS
start_service "$service" "$work/service.out"
echo "service on 127.0.0.1:$port"
http_port=$port
"$(dirname "$0")/../support/make_certificates.sh" "$work/certs" rsa
start_service "$service" "$work/service-tls.out" --tls-cert "$work/certs/good.pem" \
    --tls-key "$work/certs/good.key"
tls_port=$port
port=$http_port
echo "service over https on 127.0.0.1:$tls_port"

timeout 300 "$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" -w
# The first program of a new server starts Wine's own services beside it; an
# installer run then has been seen to end with 1 instead of its own code.
"$wine" cmd /c exit 0 >/dev/null 2>&1 || true
drive_c=$WINEPREFIX/drive_c
echo "(fresh prefix in $((SECONDS - started))s)"

# Wine hands PDFs to the desktop's xdg-open; this one only records them.
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "$1" >>"%s/opened.log"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

# /D= must come last and unquoted even with blanks, which Wine's own argument
# quoting would break; cmd passes the line as written.
install_dir='C:\Vantorel Test\Patent Downloader'
unix_dir="$drive_c/Vantorel Test/Patent Downloader"
cp "$setup" "$drive_c/setup.exe"
# A host that could add lines or keys to the Settings file is refused.
# So is any scheme but https, or https without a host or with a path.
for host in 'two;hosts' 'a%b' 'x=y' 'http://127.0.0.1' 'https://' 'https://a/b'; do
    status=0
    "$wine" cmd /c "C:\\setup.exe /S /HOST=$host /D=C:\\Refused" >/dev/null 2>&1 || status=$?
    check "host '$host' refused with 2 (got $status), nothing installed" \
        test "$status" -eq 2 -a ! -e "$drive_c/Refused"
done
status=0
"$wine" cmd /c "C:\\setup.exe /S /HOST=127.0.0.1:$port /D=$install_dir" >/dev/null 2>&1 || status=$?
check "silent install ends with 0 (got $status)" test "$status" -eq 0
exe="$unix_dir/Vantorel Patent Downloader.exe"
check "program installed" test -f "$exe"
check "uninstaller installed" test -f "$unix_dir/uninstall.exe"
first_settings=$(printf '%s\r\n' '[Main]' Login=demo Pswd=demo "Path=$install_dir\\patents\\" \
    Timeout=120 PDFAction=0 '' '[Service]' "Host=127.0.0.1:$port")
check "first Settings file: demo account, patent folder, the service given" \
    test "$(cat "$unix_dir/tessariant.ini" 2>/dev/null)" = "$first_settings"
check "InstallPath in the registry" \
    test "$(reg_value 'HKCU\Software\Vantorel Patent Downloader' InstallPath)" = "REG_SZ $install_dir"
check "uninstall entry" has_key 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel Patent Downloader'
shortcut=$(find "$drive_c/users" -path '*Start Menu/Programs/Vantorel Patent Downloader.lnk' | head -n1)
check "Start-menu entry" test -n "$shortcut"

for number in US6892391 EP1534056; do
    curl -fsS "http://127.0.0.1:$port/files/${number}_full.pdf" -o "$work/$number.expected"
done

launched=$SECONDS
"$wine" "C:\\Vantorel Test\\Patent Downloader\\Vantorel Patent Downloader.exe" "US6892391;EP1534056" \
    >"$work/program.out" 2>&1 &
program=$!
pids+=("$program")
shown=
arrived=
for _ in $(seq 1200); do
    if [ -z "$shown" ] && [ "$(visible_windows)" -ge 1 ]; then shown=$((SECONDS - launched)); fi
    if cmp -s "$unix_dir/patents/US6892391.pdf" "$work/US6892391.expected" &&
        cmp -s "$unix_dir/patents/EP1534056.pdf" "$work/EP1534056.expected"; then
        arrived=$((SECONDS - launched))
        break
    fi
    sleep 0.1
done
echo "(window shown after ${shown:-?}s, both PDFs after ${arrived:-?}s)"
check "window shown" test -n "$shown"
check "both PDFs arrived byte-identical" test -n "$arrived"
viewed() { { cat "$work/opened.log" 2>/dev/null || :; } | grep -c 'patents/\(US6892391\|EP1534056\)\.pdf$' || :; }
for _ in $(seq 50); do [ "$(viewed)" -ge 2 ] && break; sleep 0.1; done
check "both PDFs handed to the viewer" test "$(viewed)" -eq 2
check "no box left open beside the window" test "$(visible_windows)" -eq 1

script='<SCRIPT>var shell = new ActiveXObject("WScript.Shell");shell.run('"'"'"'"'"' + "'
script+=${install_dir//\\/\\\\}
script+='\\Vantorel Patent Downloader.exe" + '"'"'"'"'"' + " " + '"'"'"'"'"' + external.menuArguments.document.selection.createRange().text );</SCRIPT>'
check "tessariant.html holds the browser script" test "$(cat "$unix_dir/tessariant.html" 2>/dev/null)" = "$script"
menu='HKCU\Software\Microsoft\Internet Explorer\MenuExt\Vantorel Patent Downloader'
check "browser menu key points at tessariant.html" \
    test "$(reg_value "$menu" '')" = "REG_SZ $install_dir\\tessariant.html"
check "browser menu key asks for selected text" test "$(reg_value "$menu" Contexts)" = "REG_DWORD 0x10"

# Closed as a user closes it: WM_CLOSE to its window.
"$wine" taskkill /IM "Vantorel Patent Downloader.exe" >/dev/null 2>&1 || true
closed=0
for _ in $(seq 100); do
    kill -0 "$program" 2>/dev/null || { closed=1; break; }
    sleep 0.1
done
check "program closed by WM_CLOSE" test "$closed" -eq 1
[ "$closed" -eq 1 ] || "$wine" taskkill /F /IM "Vantorel Patent Downloader.exe" >/dev/null 2>&1 || true
wait "$program" 2>/dev/null || true

# Installing again updates the program and keeps the user's Settings file.
echo 'Login=mine' >>"$unix_dir/tessariant.ini"
cp "$unix_dir/tessariant.ini" "$work/settings.before"
status=0
"$wine" cmd /c "C:\\setup.exe /S /HOST=elsewhere:1 /D=$install_dir" >/dev/null 2>&1 || status=$?
check "second install ends with 0 (got $status)" test "$status" -eq 0
check "second install keeps the Settings file" cmp -s "$work/settings.before" "$unix_dir/tessariant.ini"

status=0
"$wine" "C:\\Vantorel Test\\Patent Downloader\\uninstall.exe" /S >/dev/null 2>&1 || status=$?
# The uninstaller runs on from a copy of itself in the temp folder.
"$wineserver" -w
check "silent uninstall ends with 0 (got $status)" test "$status" -eq 0
check "program removed" test ! -e "$exe"
check "uninstaller removed" test ! -e "$unix_dir/uninstall.exe"
check "browser script removed" test ! -e "$unix_dir/tessariant.html"
check "Start-menu entry removed" test ! -e "$shortcut"
check "program key removed" test "$(has_key 'HKCU\Software\Vantorel Patent Downloader' && echo y)" != y
check "browser menu key removed" test "$(has_key "$menu" && echo y)" != y
check "uninstall entry removed" \
    test "$(has_key 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel Patent Downloader' && echo y)" != y
check "PDFs kept" cmp -s "$unix_dir/patents/US6892391.pdf" "$work/US6892391.expected"
check "Settings file kept" test -f "$unix_dir/tessariant.ini"

# A service over https: the installer takes https://host:port, the CA file
# is named in the Settings file, and the patent arrives over TLS.
tls_install='C:\Vantorel TLS'
tls_dir="$drive_c/Vantorel TLS"
status=0
"$wine" cmd /c "C:\\setup.exe /S /HOST=https://localhost:$tls_port /D=$tls_install" >/dev/null 2>&1 || status=$?
check "https install ends with 0 (got $status)" test "$status" -eq 0
check "https host in the first Settings file" \
    grep -qx "Host=https://localhost:$tls_port"$'\r' "$tls_dir/tessariant.ini"
ca_file="Z:${work//\//\\}\\certs\\ca.pem"
printf 'CAFile=%s\r\n' "$ca_file" >>"$tls_dir/tessariant.ini"
curl -fsS --cacert "$work/certs/ca.pem" "https://localhost:$tls_port/files/EP1534056_full.pdf" \
    -o "$work/EP1534056.tls"
launched=$SECONDS
"$wine" "$tls_install\\Vantorel Patent Downloader.exe" "EP1534056" >"$work/program-tls.out" 2>&1 &
program=$!
pids+=("$program")
arrived=
for _ in $(seq 600); do
    if cmp -s "$tls_dir/patents/EP1534056.pdf" "$work/EP1534056.tls"; then
        arrived=$((SECONDS - launched))
        break
    fi
    sleep 0.1
done
echo "(the PDF over https after ${arrived:-?}s)"
check "PDF over https arrived byte-identical" test -n "$arrived"
check "the service served https" grep -q "over https" "$work/service-tls.out"
"$wine" taskkill /IM "Vantorel Patent Downloader.exe" >/dev/null 2>&1 || true
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && "$wine" taskkill /F /IM "Vantorel Patent Downloader.exe" >/dev/null 2>&1
wait "$program" 2>/dev/null || true

echo "(end to end in $((SECONDS - started))s)"
[ $fail -eq 0 ] && echo "Windows end to end: installed, both patents downloaded, uninstalled, a patent over https"
exit $fail

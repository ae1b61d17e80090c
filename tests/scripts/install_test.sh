#!/usr/bin/env bash
# scripts/install.sh against a scratch home: registry merge and escaping,
# first Settings file never overwritten, modes, menu entry, repeat runs.
# Usage: install_test.sh REPO
set -uo pipefail
repo=$1
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
passes=0
check() {  # check LABEL COMMAND...
    local label=$1
    shift
    if "$@"; then echo "ok: $label"; passes=$((passes + 1)); else echo "FAILED: $label"; failures=$((failures + 1)); fi
}
mode_of() { stat -c %a "$1"; }
all_crlf() { ! grep -qv $'\r$' "$1"; }

# A build folder with stand-in programs; the service is a real ELF file so
# that replacing it while it runs is tested for real.
build=$work/build
mkdir -p "$build/service" "$build/src/app"
cp "$(command -v sleep)" "$build/service/vantorel-service"
printf '#!/bin/sh\necho window "$@"\n' >"$build/src/app/vantorel-patent-downloader"
chmod +x "$build/src/app/vantorel-patent-downloader"

export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
unset VANTOREL_INSTALL_DIR VANTOREL_BUILD_DIR VANTOREL_SERVICE_HOST
mkdir -p "$HOME" "$XDG_CONFIG_HOME/vantorel"
registry=$XDG_CONFIG_HOME/vantorel/registry.reg

# --- default folder, existing registry file with LF lines and other keys ---
printf '%s\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Vantorel Patent Downloader]' \
    '"installpath"="/old/place"' '"Kept"="yes"' '"Data"=hex:00,01,\' '  02,03' '' \
    '[HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\MenuExt\Vantorel Patent Downloader]' \
    '@="/old/place/tessariant.html"' '"Contexts"=dword:00000010' >"$registry"
"$repo/scripts/install.sh" --build-dir "$build" >"$work/out" 2>&1
check "installs with defaults" test $? -eq 0
default_dir=$XDG_DATA_HOME/vantorel-patent-downloader
check "programs in bin" test -x "$default_dir/bin/vantorel-service" -a -x "$default_dir/bin/vantorel-patent-downloader"
check "patents folder" test -d "$default_dir/patents"
expected_registry=$(printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Vantorel Patent Downloader]' \
    "\"InstallPath\"=\"$default_dir\"" '"Kept"="yes"' '"Data"=hex:00,01,\' '  02,03' '' \
    '[HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\MenuExt\Vantorel Patent Downloader]' \
    '@="/old/place/tessariant.html"' '"Contexts"=dword:00000010')
check "registry: InstallPath replaced, the rest kept, CRLF" test "$(cat "$registry")" = "$expected_registry"
check "registry: every line CRLF" all_crlf "$registry"
check "registry: mode 600" test "$(mode_of "$registry")" = 600
settings=$default_dir/tessariant.ini
expected_settings=$(printf '%s\n' '[Main]' 'Login=demo' 'Pswd=demo' "Path=$default_dir/patents/" \
    'Timeout=120' 'PDFAction=0' '' '[Service]' 'Host=localhost:8741')
check "first Settings file" test "$(cat "$settings")" = "$expected_settings"
check "Settings file: mode 600" test "$(mode_of "$settings")" = 600
desktop=$XDG_DATA_HOME/applications/vantorel-patent-downloader.desktop
check "menu entry" grep -qx "Exec=\"$default_dir/bin/vantorel-patent-downloader\"" "$desktop"

# --- second run: Settings kept, registry unchanged, running service replaced ---
printf '[Main]\nLogin=mine\n' >"$settings"
cp "$registry" "$work/registry.before"
"$default_dir/bin/vantorel-service" 30 &
pids+=($!)
sleep 0.2
"$repo/scripts/install.sh" --build-dir "$build" >"$work/out" 2>&1
check "reinstalls over a running service" test $? -eq 0
check "Settings file never overwritten" test "$(cat "$settings")" = $'[Main]\nLogin=mine'
check "registry identical after a second run" cmp -s "$registry" "$work/registry.before"
check "no temporary files left" test -z "$(find "$default_dir" "$XDG_CONFIG_HOME" -name '.*' -type f)"

# --- awkward folder name, no registry file, other service host ---
rm -f "$registry"
odd=$work/odd'  dir "q" \back $x %p'
"$repo/scripts/install.sh" --build-dir "$build" --prefix "$odd/" --service-host 127.0.0.1:9999 >"$work/out" 2>&1
check "installs into an awkward folder" test $? -eq 0
check "registry created with its header" test "$(head -n1 "$registry")" = $'Windows Registry Editor Version 5.00\r'
check "registry value escaped" grep -qxF "\"InstallPath\"=\"$work/odd  dir \\\"q\\\" \\\\back \$x %p\""$'\r' "$registry"
check "Settings path and host" grep -qxF "Path=$odd/patents/" "$odd/tessariant.ini"
check "Settings host" grep -qxF "Host=127.0.0.1:9999" "$odd/tessariant.ini"
check "menu entry Exec escaped" grep -qxF \
    "Exec=\"$work/odd  dir \\\\\"q\\\\\" \\\\\\\\back \\\\\$x %%p/bin/vantorel-patent-downloader\"" "$desktop"
check "menu entry validates (desktop-file-validate, package desktop-file-utils)" \
    desktop-file-validate "$desktop"

# --- refusals ---
"$repo/scripts/install.sh" --build-dir "$work/nothing" >"$work/out" 2>&1
check "refuses without a built service" test $? -ne 0
check "says what is missing" grep -q "vantorel-service is not built" "$work/out"
"$repo/scripts/install.sh" --build-dir "$build" --prefix "$work/line"$'\n'"break" >"$work/out" 2>&1
check "refuses a folder with a line break" test $? -ne 0
"$repo/scripts/install.sh" --build-dir "$build" --service-host 'h;rm' >"$work/out" 2>&1
check "refuses a bad service host" test $? -ne 0
for bad in http://h:1 https:// 'https://h/x' ftp://h; do
    "$repo/scripts/install.sh" --build-dir "$build" --service-host "$bad" >"$work/out" 2>&1
    check "refuses the service host $bad" test $? -ne 0
done
https_dir=$work/https
"$repo/scripts/install.sh" --build-dir "$build" --prefix "$https_dir" --service-host https://patents.example:8443 >"$work/out" 2>&1
check "takes an https service host" grep -qxF "Host=https://patents.example:8443" "$https_dir/tessariant.ini"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]

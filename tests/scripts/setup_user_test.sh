#!/usr/bin/env bash
# scripts/setup-user.sh as the Debian package runs it at each start
# (--if-new --programs-from DIR), against a scratch home.
# Usage: setup_user_test.sh REPO
set -uo pipefail
repo=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passes=0
check() {  # check LABEL COMMAND...
    local label=$1
    shift
    if "$@"; then echo "ok: $label"; passes=$((passes + 1)); else echo "FAILED: $label"; failures=$((failures + 1)); fi
}
setup() { "$repo/scripts/setup-user.sh" --if-new --programs-from /usr/bin >"$work/out" 2>&1; }
fresh_home() {
    rm -rf "${work:?}/home"
    export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
    mkdir -p "$HOME"
    registry=$XDG_CONFIG_HOME/vantorel/registry.reg
    install=$XDG_DATA_HOME/vantorel-patent-downloader
}
unset VANTOREL_INSTALL_DIR VANTOREL_SERVICE_HOST

# --- first start: everything made, programs linked ---
fresh_home
setup
check "first start succeeds" test $? -eq 0
check "patents and catalogue folders" test -d "$install/patents" -a -d "$install/catalogue"
check "InstallPath recorded" grep -qxF "\"InstallPath\"=\"$install\""$'\r' "$registry"
check "first Settings file names the default service" grep -qxF "Host=localhost:8741" "$install/tessariant.ini"
check "the program is linked from the system folder" \
    test "$(readlink "$install/bin/vantorel-patent-downloader")" = /usr/bin/vantorel-patent-downloader
check "the service is linked too" test "$(readlink "$install/bin/vantorel-service")" = /usr/bin/vantorel-service

# --- later starts change nothing, even when told of another folder ---
printf '[Main]\nLogin=mine\n' >"$install/tessariant.ini"
snapshot() { (cd "$HOME" && find . -printf '%p %y %m %s %T@ %l\n' | sort); cat "$registry"; }
before=$(snapshot)
sleep 1.1
VANTOREL_INSTALL_DIR=$work/elsewhere setup
check "second start succeeds" test $? -eq 0
check "second start changes nothing" test "$(snapshot)" = "$before"
check "second start makes no other folder" test ! -e "$work/elsewhere"

# --- only an InstallPath in the program's own section counts ---
for other in '[HKEY_CURRENT_USER\Software\Someone Else]' ''; do
    fresh_home
    mkdir -p "$(dirname "$registry")"
    printf 'Windows Registry Editor Version 5.00\n\n%s\n"InstallPath"="/elsewhere"\n' "$other" >"$registry"
    setup
    check "an InstallPath outside the section ('$other') is not the program's" \
        grep -qxF "\"InstallPath\"=\"$install\""$'\r' "$registry"
done
fresh_home
mkdir -p "$(dirname "$registry")"
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[hkey_current_user\software\vantorel patent downloader]' '"installpath"="/kept/place"' >"$registry"
setup
check "an InstallPath in any case counts" grep -qF '/kept/place' "$registry"
check "and nothing is made" test ! -e "$install"

# --- what is there already stays: a Settings file, a program of the user's own ---
fresh_home
mkdir -p "$install/bin"
printf '[Main]\nLogin=own\n' >"$install/tessariant.ini"
printf '#!/bin/sh\n' >"$install/bin/vantorel-patent-downloader"
VANTOREL_SERVICE_HOST=127.0.0.1:9 setup
check "an existing Settings file is kept" test "$(cat "$install/tessariant.ini")" = $'[Main]\nLogin=own'
check "a program in bin/ is not replaced by a link" test ! -L "$install/bin/vantorel-patent-downloader"
check "InstallPath recorded beside them" grep -qF "\"InstallPath\"=\"$install\"" "$registry"

# --- refusals leave nothing behind ---
fresh_home
VANTOREL_SERVICE_HOST='h;x' setup
check "refuses a bad service host" test $? -ne 0
check "and writes no registry file" test ! -e "$registry"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]

#!/usr/bin/env bash
# Installs the built program for the current user:
#   INSTALL_DIR/bin/           the window program and vantorel-service
#   INSTALL_DIR/tessariant.ini first Settings file (demo account), never overwritten
#   INSTALL_DIR/patents/       default folder for downloaded patents
#   INSTALL_DIR/catalogue/     PDFs the local service serves besides its samples
# and records INSTALL_DIR as InstallPath in the per-user registry file, which
# is how the program finds its install folder, plus a desktop menu entry.
set -euo pipefail

usage() {
    cat <<'EOF'
usage: scripts/install.sh [--build-dir DIR] [--prefix INSTALL_DIR] [--service-host [https://]HOST:PORT]
  --build-dir DIR          where the program was built (default: build, or $VANTOREL_BUILD_DIR)
  --prefix INSTALL_DIR     install folder (default: $VANTOREL_INSTALL_DIR, else
                           ${XDG_DATA_HOME:-~/.local/share}/vantorel-patent-downloader)
  --service-host HOST:PORT service written into a first Settings file (default localhost:8741);
                           https://HOST[:PORT] for a service over https
EOF
}

say() { printf 'install: %s\n' "$*" >&2; }
die() { say "$*"; exit 1; }

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${VANTOREL_BUILD_DIR:-$repo/build}
data_home=${XDG_DATA_HOME:-$HOME/.local/share}
config_home=${XDG_CONFIG_HOME:-$HOME/.config}
install_dir=${VANTOREL_INSTALL_DIR:-$data_home/vantorel-patent-downloader}
service_host=${VANTOREL_SERVICE_HOST:-localhost:8741}

while [ $# -gt 0 ]; do
    case $1 in
        --build-dir) [ $# -ge 2 ] || die "--build-dir needs a folder"; build_dir=$2; shift 2 ;;
        --build-dir=*) build_dir=${1#*=}; shift ;;
        --prefix) [ $# -ge 2 ] || die "--prefix needs a folder"; install_dir=$2; shift 2 ;;
        --prefix=*) install_dir=${1#*=}; shift ;;
        --service-host) [ $# -ge 2 ] || die "--service-host needs HOST:PORT"; service_host=$2; shift 2 ;;
        --service-host=*) service_host=${1#*=}; shift ;;
        -h | --help) usage; exit 0 ;;
        *) usage >&2; die "unknown argument '$1'" ;;
    esac
done

# InstallPath is absolute and has no trailing separator; it goes into a
# one-line registry value and INI value, so line breaks cannot be kept.
case $install_dir in
    /*) ;;
    *) install_dir=$PWD/$install_dir ;;
esac
while [ "${#install_dir}" -gt 1 ] && [ "${install_dir%/}" != "$install_dir" ]; do
    install_dir=${install_dir%/}
done
case $install_dir in
    *$'\n'* | *$'\r'*) die "the install folder must not contain a line break" ;;
esac
# HOST[:PORT] for http, https://HOST[:PORT] for https; nothing else.
case ${service_host#https://} in
    '' | *[!A-Za-z0-9.:_\[\]-]*) die "not a service host: '$service_host' (HOST[:PORT] or https://HOST[:PORT])" ;;
esac

find_binary() {
    local name=$1 candidate
    for candidate in "$build_dir/src/app/$name" "$build_dir/service/$name" "$build_dir/$name"; do
        [ -f "$candidate" ] && [ -x "$candidate" ] && { printf '%s\n' "$candidate"; return 0; }
    done
    return 1
}

service_binary=$(find_binary vantorel-service) ||
    die "vantorel-service is not built in $build_dir (build it first: cmake --build $build_dir)"
app_binary=$(find_binary vantorel-patent-downloader) || app_binary=

umask 022
mkdir -p "$install_dir/bin" "$install_dir/patents" "$install_dir/catalogue"
chmod 755 "$install_dir" "$install_dir/bin"

# A running copy keeps its old file: the new one is moved over it, never
# written into it (that would fail with "Text file busy").
put_binary() {
    local source=$1 target=$2 temporary
    temporary=$(mktemp "$(dirname "$target")/.install.XXXXXX")
    cp -- "$source" "$temporary"
    chmod 755 "$temporary"
    mv -f -- "$temporary" "$target"
}
put_binary "$service_binary" "$install_dir/bin/vantorel-service"
if [ -n "$app_binary" ]; then
    put_binary "$app_binary" "$install_dir/bin/vantorel-patent-downloader"
else
    say "the window program vantorel-patent-downloader is not built in $build_dir; installed the service only"
fi

# Registry file: keep every other key and value, replace only InstallPath.
# Lines are written with CRLF as Windows exports them; LF files are read too.
registry_dir=$config_home/vantorel
registry=$registry_dir/registry.reg
mkdir -p "$registry_dir"
chmod 700 "$registry_dir"
registry_value=$install_dir
registry_value=${registry_value//\\/\\\\}
registry_value=${registry_value//\"/\\\"}
registry_temporary=$(mktemp "$registry_dir/.registry.reg.XXXXXX")
trap 'rm -f -- "$registry_temporary"' EXIT
INSTALL_VALUE="\"InstallPath\"=\"$registry_value\"" awk '
    BEGIN {
        section = "[HKEY_CURRENT_USER\\Software\\Vantorel Patent Downloader]"
        value = ENVIRON["INSTALL_VALUE"]
        inside = 0; written = 0; continued = 0; lines = 0
    }
    function out(text) { printf "%s\r\n", text }
    {
        sub(/\r$/, "")
        if (lines++ == 0) {
            sub(/^\357\273\277/, "")
            if ($0 != "Windows Registry Editor Version 5.00" && $0 != "REGEDIT4") {
                out("Windows Registry Editor Version 5.00"); out("")
            }
        }
    }
    # The rest of a multi-line value (hex data ends its lines in "\").
    continued { continued = ($0 ~ /\\$/); next }
    /^\[/ {
        out($0)
        inside = (tolower($0) == tolower(section))
        if (inside && !written) { out(value); written = 1 }
        next
    }
    inside && tolower($0) ~ /^"installpath"[ \t]*=/ { continued = ($0 ~ /\\$/); next }
    { out($0) }
    END {
        if (lines == 0) { out("Windows Registry Editor Version 5.00") }
        if (!written) { out(""); out(section); out(value) }
    }
' "$( [ -f "$registry" ] && printf '%s' "$registry" || printf /dev/null)" >"$registry_temporary"
chmod 600 "$registry_temporary"
mv -f -- "$registry_temporary" "$registry"
trap - EXIT

# First Settings file, only when there is none: the program itself creates
# it on the first save, and a user's own settings are never replaced.
settings=$install_dir/tessariant.ini
if [ ! -e "$settings" ]; then
    settings_temporary=$(mktemp "$install_dir/.tessariant.ini.XXXXXX")
    cat >"$settings_temporary" <<EOF
[Main]
Login=demo
Pswd=demo
Path=$install_dir/patents/
Timeout=120
PDFAction=0

[Service]
Host=$service_host
EOF
    chmod 600 "$settings_temporary"
    # -n: a Settings file that appeared meanwhile still wins.
    mv -n -- "$settings_temporary" "$settings"
    rm -f -- "$settings_temporary"
    say "wrote a first Settings file $settings (account demo, service $service_host)"
fi

# Desktop menu entry. Exec quoting: inside double quotes \ " ` $ are escaped,
# then every backslash once more for the key file, and % is doubled.
if [ -n "$app_binary" ] || [ -x "$install_dir/bin/vantorel-patent-downloader" ]; then
    applications=$data_home/applications
    mkdir -p "$applications"
    exec_path=$install_dir/bin/vantorel-patent-downloader
    exec_path=${exec_path//\\/\\\\}
    exec_path=${exec_path//\"/\\\"}
    exec_path=${exec_path//\`/\\\`}
    exec_path=${exec_path//\$/\\\$}
    exec_path="\"$exec_path\""
    exec_path=${exec_path//\\/\\\\}
    exec_path=${exec_path//%/%%}
    entry_temporary=$(mktemp "$applications/.vantorel.XXXXXX")
    cat >"$entry_temporary" <<EOF
[Desktop Entry]
Type=Application
Version=1.0
Name=Vantorel Patent Downloader
Comment=Download patent documents as PDF files
Exec=$exec_path
Icon=application-pdf
Terminal=false
Categories=Office;Network;
EOF
    chmod 644 "$entry_temporary"
    mv -f -- "$entry_temporary" "$applications/vantorel-patent-downloader.desktop"
    if command -v update-desktop-database >/dev/null 2>&1; then
        update-desktop-database -q "$applications" 2>/dev/null || true
    fi
fi

say "installed into $install_dir (InstallPath recorded in $registry)"

#!/usr/bin/env bash
# The per-user setup of an install, shared by scripts/install.sh (which sources
# it) and the Debian package (which runs it at each user's first start):
#   INSTALL_DIR/patents/       default folder for downloaded patents
#   INSTALL_DIR/catalogue/     PDFs the local service serves besides its samples
#   INSTALL_DIR/tessariant.ini first Settings file (demo account), never overwritten
# and INSTALL_DIR recorded as InstallPath in the per-user registry file, which
# is how the program finds its install folder.
#
# Run as a program:
#   setup-user [--if-new] [--prefix INSTALL_DIR] [--service-host [https://]HOST:PORT]
#              [--programs-from DIR]
#   --if-new            do nothing when the registry file holds an InstallPath already
#   --programs-from DIR link INSTALL_DIR/bin/<program> to DIR/<program> where
#                       none is there, for what starts the program by that path

vantorel_say() { printf 'install: %s\n' "$*" >&2; }
vantorel_die() { vantorel_say "$*"; exit 1; }

vantorel_registry_file() {
    printf '%s/vantorel/registry.reg\n' "${XDG_CONFIG_HOME:-$HOME/.config}"
}

vantorel_default_install_dir() {
    printf '%s\n' "${VANTOREL_INSTALL_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/vantorel-patent-downloader}"
}

# InstallPath is absolute and has no trailing separator; it goes into a
# one-line registry value and INI value, so line breaks cannot be kept.
# Prints the folder as it is recorded.
vantorel_normal_install_dir() {
    local dir=$1
    case $dir in
        /*) ;;
        *) dir=$PWD/$dir ;;
    esac
    while [ "${#dir}" -gt 1 ] && [ "${dir%/}" != "$dir" ]; do
        dir=${dir%/}
    done
    case $dir in
        *$'\n'* | *$'\r'*) vantorel_die "the install folder must not contain a line break" ;;
    esac
    printf '%s\n' "$dir"
}

# HOST[:PORT] for http, https://HOST[:PORT] for https; nothing else.
vantorel_check_service_host() {
    case ${1#https://} in
        '' | *[!A-Za-z0-9.:_\[\]-]*) vantorel_die "not a service host: '$1' (HOST[:PORT] or https://HOST[:PORT])" ;;
    esac
}

# True when the program's section of the registry file holds InstallPath.
vantorel_has_install_path() {
    local registry
    registry=$(vantorel_registry_file)
    [ -f "$registry" ] || return 1
    awk '
        BEGIN { section = tolower("[HKEY_CURRENT_USER\\Software\\Vantorel Patent Downloader]") }
        { sub(/\r$/, "") }
        /^\[/ { inside = (tolower($0) == section); next }
        inside && tolower($0) ~ /^"installpath"[ \t]*=/ { found = 1; exit }
        END { exit !found }
    ' "$registry"
}

# Registry file: keep every other key and value, replace only InstallPath.
# Lines are written with CRLF as Windows exports them; LF files are read too.
vantorel_record_install_path() {
    local install_dir=$1 registry registry_dir registry_value
    registry=$(vantorel_registry_file)
    registry_dir=$(dirname "$registry")
    mkdir -p "$registry_dir"
    chmod 700 "$registry_dir"
    registry_value=$install_dir
    registry_value=${registry_value//\\/\\\\}
    registry_value=${registry_value//\"/\\\"}
    vantorel_registry_temporary=$(mktemp "$registry_dir/.registry.reg.XXXXXX")
    trap 'rm -f -- "$vantorel_registry_temporary"' EXIT
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
    ' "$([ -f "$registry" ] && printf '%s' "$registry" || printf /dev/null)" >"$vantorel_registry_temporary"
    chmod 600 "$vantorel_registry_temporary"
    mv -f -- "$vantorel_registry_temporary" "$registry"
    trap - EXIT
}

# First Settings file, only when there is none: the program itself creates
# it on the first save, and a user's own settings are never replaced.
vantorel_first_settings() {
    local install_dir=$1 service_host=$2 settings settings_temporary
    settings=$install_dir/tessariant.ini
    [ ! -e "$settings" ] || return 0
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
    vantorel_say "wrote a first Settings file $settings (account demo, service $service_host)"
}

# Everything but the programs: folders, InstallPath, first Settings file.
# INSTALL_DIR must come from vantorel_normal_install_dir.
vantorel_setup_user() {
    local install_dir=$1 service_host=$2
    umask 022
    mkdir -p "$install_dir/patents" "$install_dir/catalogue"
    chmod 755 "$install_dir"
    vantorel_record_install_path "$install_dir"
    vantorel_first_settings "$install_dir" "$service_host"
}

# The scheme handler starts INSTALL_DIR/bin/vantorel-patent-downloader, so a
# system-wide program is linked there; a program already there stays.
vantorel_link_programs() {
    local install_dir=$1 from=$2 name
    mkdir -p "$install_dir/bin"
    for name in vantorel-patent-downloader vantorel-service; do
        [ -e "$install_dir/bin/$name" ] || [ -L "$install_dir/bin/$name" ] ||
            ln -s -- "$from/$name" "$install_dir/bin/$name"
    done
}

vantorel_setup_user_main() {
    set -euo pipefail
    local if_new=0 install_dir service_host=${VANTOREL_SERVICE_HOST:-localhost:8741} programs_from=
    install_dir=$(vantorel_default_install_dir)
    while [ $# -gt 0 ]; do
        case $1 in
            --if-new) if_new=1; shift ;;
            --prefix) [ $# -ge 2 ] || vantorel_die "--prefix needs a folder"; install_dir=$2; shift 2 ;;
            --prefix=*) install_dir=${1#*=}; shift ;;
            --service-host) [ $# -ge 2 ] || vantorel_die "--service-host needs HOST:PORT"; service_host=$2; shift 2 ;;
            --service-host=*) service_host=${1#*=}; shift ;;
            --programs-from) [ $# -ge 2 ] || vantorel_die "--programs-from needs a folder"; programs_from=$2; shift 2 ;;
            --programs-from=*) programs_from=${1#*=}; shift ;;
            *) vantorel_die "unknown argument '$1'" ;;
        esac
    done
    if [ "$if_new" -eq 1 ] && vantorel_has_install_path; then
        return 0
    fi
    install_dir=$(vantorel_normal_install_dir "$install_dir")
    vantorel_check_service_host "$service_host"
    vantorel_setup_user "$install_dir" "$service_host"
    [ -z "$programs_from" ] || vantorel_link_programs "$install_dir" "$programs_from"
    vantorel_say "set up $install_dir (InstallPath recorded in $(vantorel_registry_file))"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    vantorel_setup_user_main "$@"
fi

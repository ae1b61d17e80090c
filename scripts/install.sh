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

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$repo/scripts/setup-user.sh"
say() { vantorel_say "$@"; }
die() { vantorel_die "$@"; }

build_dir=${VANTOREL_BUILD_DIR:-$repo/build}
data_home=${XDG_DATA_HOME:-$HOME/.local/share}
install_dir=$(vantorel_default_install_dir)
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

install_dir=$(vantorel_normal_install_dir "$install_dir")
vantorel_check_service_host "$service_host"

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

# Folders, InstallPath and a first Settings file: what the Debian
# package does at each user's first start, from the same script.
vantorel_setup_user "$install_dir" "$service_host"
mkdir -p "$install_dir/bin"
chmod 755 "$install_dir/bin"

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

say "installed into $install_dir (InstallPath recorded in $(vantorel_registry_file))"

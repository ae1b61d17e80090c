#!/usr/bin/env bash
# One command from a Debian 12 checkout to the open window:
#   scripts/run.sh [PATENTS]
# installs missing packages, builds (Release, in build/), installs for the
# current user, starts the local patent service unless one answers already,
# and opens the window; the arguments go to the program, so
#   scripts/run.sh US6892391
# downloads that patent a second after the window opens.
#
# Environment: VANTOREL_BUILD_DIR (default build), VANTOREL_INSTALL_DIR,
# VANTOREL_SERVICE_PORT (default 8741).
set -euo pipefail

say() { printf 'vantorel: %s\n' "$*" >&2; }
die() { say "$*"; exit 1; }

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${VANTOREL_BUILD_DIR:-$repo/build}
port=${VANTOREL_SERVICE_PORT:-8741}
install_dir=${VANTOREL_INSTALL_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/vantorel-patent-downloader}
state_dir=${XDG_STATE_HOME:-$HOME/.local/state}/vantorel
case $port in '' | *[!0-9]*) die "VANTOREL_SERVICE_PORT must be a port number" ;; esac

# 1. Packages.
packages=(build-essential cmake ninja-build qt6-base-dev qt6-qpa-plugins libgl-dev
          libgtest-dev libgmock-dev poppler-utils xdg-utils)
. "$repo/scripts/missing-packages.sh"
install_missing_packages "${packages[@]}"

# 2. Build. An existing build folder keeps its own configuration.
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S "$repo" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
targets=(vantorel-service)
have_window=1
# The list is read whole first: grep -q stopping early would make the
# listing fail on a broken pipe, and pipefail would count that as "absent".
target_list=$(cmake --build "$build_dir" --target help 2>/dev/null || true)
if grep -qE '(^|[ /])vantorel-patent-downloader(:|$)' <<<"$target_list"; then
    targets+=(vantorel-patent-downloader)
else
    have_window=0
fi
cmake --build "$build_dir" --parallel "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"

# 3. Install for this user.
"$repo/scripts/install.sh" --build-dir "$build_dir" --prefix "$install_dir" \
    --service-host "localhost:$port"

# 4. The service, unless it answers already. Whatever else holds the port
# is not taken for it: the program would get no Index response from that.
probe() {  # 0: our service answers, 1: nothing answers, 2: another server
    local reply
    reply=$(timeout 3 bash -c '
        exec 3<>"/dev/tcp/127.0.0.1/$1" || exit 1
        printf "GET / HTTP/1.0\r\n\r\n" >&3
        head -c 4096 <&3' _ "$port" 2>/dev/null | tr -d '\0') || true
    [ -n "$reply" ] || return 1
    grep -qi '^Server: vantorel-service' <<<"$reply" && return 0
    return 2
}
mkdir -p "$state_dir"
# Two runs at once must not both start one.
exec 9>"$state_dir/service.lock"
command -v flock >/dev/null 2>&1 && flock -w 30 9
state=0
probe || state=$?
if [ "$state" -eq 0 ]; then
    say "the patent service already answers on 127.0.0.1:$port"
elif [ "$state" -eq 2 ]; then
    die "port $port on 127.0.0.1 is taken by another program, not vantorel-service; choose another with VANTOREL_SERVICE_PORT=PORT (a first Settings file then names it; an existing one keeps its [Service] Host)"
else
    service_args=(--listen "127.0.0.1:$port" --log "$state_dir/service.log"
                  --catalogue "$install_dir/catalogue")
    [ -f "$install_dir/accounts.txt" ] && service_args+=(--accounts "$install_dir/accounts.txt")
    # Its own session, so a Ctrl-C in this terminal leaves it running.
    detach=()
    command -v setsid >/dev/null 2>&1 && detach=(setsid)
    "${detach[@]}" nohup "$install_dir/bin/vantorel-service" "${service_args[@]}" \
        >"$state_dir/service.out" 2>&1 </dev/null 9>&- &
    service_pid=$!
    printf '%s\n' "$service_pid" >"$state_dir/service.pid"
    for _ in $(seq 50); do
        probe && break
        kill -0 "$service_pid" 2>/dev/null || break
        sleep 0.2
    done
    probe || { cat "$state_dir/service.out" >&2; die "the patent service did not start"; }
    say "started the patent service on 127.0.0.1:$port (pid $service_pid, log $state_dir/service.log)"
fi
exec 9>&-

# 5. The window.
[ "$have_window" -eq 1 ] || die "the window program is not part of this build (VANTOREL_BUILD_APP=OFF in $build_dir?)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    say "no display (DISPLAY and WAYLAND_DISPLAY are unset); installed and the service runs - to open the window without a screen: xvfb-run -a scripts/run.sh $* (xvfb-run is in the Debian package xvfb)"
    exit 2
fi
exec "$install_dir/bin/vantorel-patent-downloader" "$@"

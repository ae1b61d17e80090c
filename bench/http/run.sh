#!/usr/bin/env bash
# Downloads one large body over loopback from nginx, alternately with
# vantorel-get and with curl, and prints the wall-time ratio and both peak
# memories. Targets: vantorel-get within 1.1x of curl, peak memory below the
# body size plus 64 MiB.
#
#   bench/http/run.sh [ROUNDS]        (SIZE_MIB=1024 by default)
set -euo pipefail

rounds=${1:-5}
size_mib=${SIZE_MIB:-1024}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VANTOREL_BENCH_BUILD:-$root/build-bench}
nginx=${NGINX:-/usr/sbin/nginx}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVANTOREL_BUILD_APP=OFF -DVANTOREL_BUILD_SERVICE=OFF -DVANTOREL_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" -j2 vantorel-get >/dev/null
get=$build/tools/vantorel-get

work=$(mktemp -d /tmp/vantorel-bench.XXXXXX)
nginx_pid=
cleanup() {
    if [[ -n $nginx_pid ]]; then
        kill "$nginx_pid" 2>/dev/null || true
        wait "$nginx_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
mkdir -p "$work/www" "$work/logs" "$work/temp"
body=$work/www/body.bin
head -c $((size_mib * 1024 * 1024)) /dev/urandom >"$body"
chmod 644 "$body"
bytes=$(stat -c %s "$body")

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
cat >"$work/nginx.conf" <<CONF
daemon off;
worker_processes 1;
pid $work/nginx.pid;
error_log $work/logs/error.log warn;
events { worker_connections 64; }
http {
    access_log off;
    sendfile on;
    tcp_nopush on;
    client_body_temp_path $work/temp/body;
    proxy_temp_path $work/temp/proxy;
    fastcgi_temp_path $work/temp/fastcgi;
    uwsgi_temp_path $work/temp/uwsgi;
    scgi_temp_path $work/temp/scgi;
    default_type application/octet-stream;
    server {
        listen 127.0.0.1:$port;
        root $work/www;
    }
}
CONF
"$nginx" -p "$work" -c "$work/nginx.conf" &
nginx_pid=$!
url=http://127.0.0.1:$port/body.bin
for _ in $(seq 100); do
    curl -s -o /dev/null "$url" -r 0-0 && break
    sleep 0.05
done

# One checked download first: the body must arrive byte for byte.
"$get" "$url" | cmp -s - "$body" || { echo "vantorel-get returned a different body" >&2; exit 1; }

# Prints "<wall seconds> <peak RSS KiB>" for one run of the command.
measure() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null
    end=$(date +%s%N)
    echo "$(((end - start) / 1000000)) $(cat "$work/rss")"
}

# For reference, curl also storing the body in memory (tmpfs), which costs
# it the page faults that vantorel-get pays for holding the body.
shm=$(mktemp /dev/shm/vantorel-bench.XXXXXX)
trap 'rm -f "$shm"; cleanup' EXIT

get_ms=() get_rss=() curl_ms=() curl_rss=() shm_ms=()
for ((i = 1; i <= rounds; i++)); do
    read -r ms rss < <(measure "$get" "$url")
    get_ms+=("$ms") get_rss+=("$rss")
    read -r ms rss < <(measure curl -s -o /dev/null "$url")
    curl_ms+=("$ms") curl_rss+=("$rss")
    read -r ms rss < <(measure curl -s -o "$shm" "$url")
    shm_ms+=("$ms")
    rm -f "$shm"
    echo "round $i: vantorel-get ${get_ms[-1]} ms ${get_rss[-1]} KiB," \
        "curl ${curl_ms[-1]} ms ${curl_rss[-1]} KiB, curl to tmpfs ${shm_ms[-1]} ms"
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
maximum() { printf '%s\n' "$@" | sort -n | tail -1; }
g=$(median "${get_ms[@]}")
c=$(median "${curl_ms[@]}")
s=$(median "${shm_ms[@]}")
gr=$(maximum "${get_rss[@]}")
cr=$(maximum "${curl_rss[@]}")
limit_kib=$((bytes / 1024 + 64 * 1024))
awk -v g="$g" -v c="$c" -v s="$s" -v gr="$gr" -v cr="$cr" -v limit="$limit_kib" -v mib="$size_mib" 'BEGIN {
    ratio = g / c
    printf "body: %d MiB over loopback from nginx\n", mib
    printf "wall time (median): vantorel-get %d ms, curl %d ms, ratio %.3f (target <= 1.10: %s)\n",
        g, c, ratio, ratio <= 1.10 ? "met" : "MISSED"
    printf "reference: curl writing into tmpfs %d ms, ratio %.3f\n", s, g / s
    printf "peak memory: vantorel-get %.1f MiB, curl %.1f MiB (limit %.1f MiB: %s)\n",
        gr / 1024, cr / 1024, limit / 1024, gr < limit ? "met" : "MISSED"
}'

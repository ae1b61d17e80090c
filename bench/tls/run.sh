#!/usr/bin/env bash
# One large body over https on loopback from nginx (a throwaway CA's
# certificate), alternately with vantorel-get and curl (both on OpenSSL) into
# /dev/null; then the first request's cost: a tiny file fetched by a fresh
# process over https and over http, many times each. Prints medians, ratios
# and peak memories.
# Targets: within 1.1x of curl's time, vantorel-get under 32 MiB, and the
# handshake (https minus http for the tiny file) no dearer than curl's.
#
#   bench/tls/run.sh [ROUNDS] [SMALL_RUNS]   (SIZE_MIB=1024 by default)
#
# VANTOREL_GET names another binary to measure; by default it is built in
# Release into build-bench/.
set -euo pipefail

# The system's default trust store, as a user's session has it: a bundle
# named in the environment would be parsed whole by each program at start.
unset SSL_CERT_FILE SSL_CERT_DIR CURL_CA_BUNDLE

rounds=${1:-5}
small_runs=${2:-40}
size_mib=${SIZE_MIB:-1024}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VANTOREL_BENCH_BUILD:-$root/build-bench}
nginx=${NGINX:-/usr/sbin/nginx}

if [[ -z ${VANTOREL_GET:-} ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOREL_BUILD_APP=OFF \
        -DVANTOREL_BUILD_SERVICE=OFF -DVANTOREL_BUILD_TESTS=OFF >/dev/null
    ninja -C "$build" -j2 vantorel-get >/dev/null
fi
get=${VANTOREL_GET:-$build/tools/vantorel-get}

work=$(mktemp -d /tmp/vantorel-bench-tls.XXXXXX)
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
mkdir -p "$work/www/files" "$work/logs" "$work/temp"
"$root/tests/support/make_certificates.sh" "$work/certs"
body=$work/www/files/BIG_full.pdf
head -c $((size_mib * 1024 * 1024)) /dev/urandom >"$body"
printf 'tiny' >"$work/www/files/tiny.pdf"
chmod -R a+rX "$work/www" "$work/certs"

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
tls_port=$(free_port)
plain_port=$(free_port)
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
        listen 127.0.0.1:$tls_port ssl;
        ssl_certificate $work/certs/good.pem;
        ssl_certificate_key $work/certs/good.key;
        root $work/www;
    }
    server {
        listen 127.0.0.1:$plain_port;
        root $work/www;
    }
}
CONF
"$nginx" -p "$work" -c "$work/nginx.conf" &
nginx_pid=$!
ca=$work/certs/ca.pem
url=https://localhost:$tls_port/files/BIG_full.pdf
for _ in $(seq 100); do
    curl -s --cacert "$ca" -o /dev/null "https://localhost:$tls_port/files/tiny.pdf" && break
    sleep 0.05
done

# One checked download first: the body must arrive byte for byte.
"$get" --cafile "$ca" "$url" | cmp -s - "$body" || { echo "vantorel-get returned a different body" >&2; exit 1; }

# Prints "<wall ms> <peak RSS KiB>" for one run, standard output to /dev/null.
measure() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null
    end=$(date +%s%N)
    echo "$(((end - start) / 1000000)) $(cat "$work/rss")"
}

declare -A ms rss
add() { ms[$1]+="$2 "; rss[$1]+="$3 "; }
for ((i = 1; i <= rounds; i++)); do
    read -r m r < <(measure "$get" --cafile "$ca" "$url"); add get "$m" "$r"
    read -r m r < <(measure curl -s --cacert "$ca" -o /dev/null "$url"); add curl "$m" "$r"
    echo "round $i: vantorel-get $(echo ${ms[get]} | awk '{print $NF}') ms," \
        "curl $(echo ${ms[curl]} | awk '{print $NF}') ms"
done

# The first request: a fresh process, one tiny file, over https and over http.
# Microseconds per run, averaged, alternating the four.
total() { local start end; start=$(date +%s%N); "$@" >/dev/null; end=$(date +%s%N); echo $(((end - start) / 1000)); }
declare -A us
for ((i = 1; i <= small_runs; i++)); do
    us[get_tls]+="$(total "$get" --cafile "$ca" "https://localhost:$tls_port/files/tiny.pdf") "
    us[get_plain]+="$(total "$get" "http://localhost:$plain_port/files/tiny.pdf") "
    us[curl_tls]+="$(total curl -s --cacert "$ca" "https://localhost:$tls_port/files/tiny.pdf") "
    us[curl_plain]+="$(total curl -s "http://localhost:$plain_port/files/tiny.pdf") "
done

median() { printf '%s\n' $1 | sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
maximum() { printf '%s\n' $1 | sort -n | tail -1; }
echo "body: $size_mib MiB over https on loopback from nginx, $rounds rounds"
awk -v g="$(median "${ms[get]}")" -v c="$(median "${ms[curl]}")" 'BEGIN {
    printf "time (median): vantorel-get %d ms, curl %d ms, ratio %.3f (target <= 1.10: %s)\n",
        g, c, g / c, g / c <= 1.10 ? "met" : "MISSED" }'
awk -v g="$(maximum "${rss[get]}")" -v c="$(maximum "${rss[curl]}")" 'BEGIN {
    printf "peak memory: vantorel-get %.1f MiB (target < 32: %s), curl %.1f MiB\n",
        g / 1024, g < 32 * 1024 ? "met" : "MISSED", c / 1024 }'
awk -v gt="$(median "${us[get_tls]}")" -v gp="$(median "${us[get_plain]}")" \
    -v ct="$(median "${us[curl_tls]}")" -v cp="$(median "${us[curl_plain]}")" -v n="$small_runs" 'BEGIN {
    printf "first request, a fresh process and a tiny file (median of %d): vantorel-get https %.1f ms, http %.1f ms; curl https %.1f ms, http %.1f ms\n",
        n, gt / 1000, gp / 1000, ct / 1000, cp / 1000
    printf "handshake cost (https minus http): vantorel-get %.1f ms, curl %.1f ms (target: no more than curl: %s)\n",
        (gt - gp) / 1000, (ct - cp) / 1000, gt - gp <= ct - cp ? "met" : "MISSED" }'

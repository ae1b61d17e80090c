#!/usr/bin/env bash
# One large body over loopback from nginx, alternately with vantorel-get and
# curl, into a file and into /dev/null; then the download command fetching
# the same body listed as one PDF. Prints medians, ratios and peak memories.
# Targets: into a file within 1.05x of curl, into /dev/null within 1.1x,
# vantorel-get under 32 MiB, the download command under 64 MiB.
#
#   bench/http/run.sh [ROUNDS]        (SIZE_MIB=1024 by default)
#
# VANTOREL_GET and DOWNLOAD_BENCH name other binaries to measure (an older
# build, say); by default both are built in Release into build-bench/.
set -euo pipefail

rounds=${1:-5}
size_mib=${SIZE_MIB:-1024}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VANTOREL_BENCH_BUILD:-$root/build-bench}
nginx=${NGINX:-/usr/sbin/nginx}

if [[ -z ${VANTOREL_GET:-} || -z ${DOWNLOAD_BENCH:-} ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOREL_BUILD_APP=OFF \
        -DVANTOREL_BUILD_SERVICE=OFF -DVANTOREL_BUILD_TESTS=OFF -DVANTOREL_BUILD_BENCH=ON >/dev/null
    ninja -C "$build" -j2 vantorel-get download-bench >/dev/null
fi
get=${VANTOREL_GET:-$build/tools/vantorel-get}
download=${DOWNLOAD_BENCH:-$build/bench/download/download-bench}

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
mkdir -p "$work/www/files" "$work/www/patent_pdf" "$work/logs" "$work/temp" "$work/out"
body=$work/www/files/BIG_full.pdf
head -c $((size_mib * 1024 * 1024)) /dev/urandom >"$body"
chmod -R a+rX "$work/www"

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
# The Index response is a static file: nginx ignores the query.
printf 'http://127.0.0.1:%s/files/BIG_full.pdf<br>' "$port" >"$work/www/patent_pdf/fetcher.php"
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
url=http://127.0.0.1:$port/files/BIG_full.pdf
for _ in $(seq 100); do
    curl -s -o /dev/null "$url" -r 0-0 && break
    sleep 0.05
done

# One checked download first: the body must arrive byte for byte.
"$get" "$url" | cmp -s - "$body" || { echo "vantorel-get returned a different body" >&2; exit 1; }

# Prints "<wall ms> <peak RSS KiB>" for one run; standard output goes to $out.
out=/dev/null
measure() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$work/rss" "$@" >"$out"
    end=$(date +%s%N)
    echo "$(((end - start) / 1000000)) $(cat "$work/rss")"
}

declare -A ms rss
add() { ms[$1]+="$2 "; rss[$1]+="$3 "; }
file=$work/out/body
for ((i = 1; i <= rounds; i++)); do
    rm -f "$file"; out=$file
    read -r m r < <(measure "$get" "$url"); add get_file "$m" "$r"
    rm -f "$file"; out=/dev/null
    read -r m r < <(measure curl -s -o "$file" "$url"); add curl_file "$m" "$r"
    rm -f "$file"
    read -r m r < <(measure "$get" "$url"); add get_null "$m" "$r"
    read -r m r < <(measure curl -s -o /dev/null "$url"); add curl_null "$m" "$r"
    rm -rf "$work/out/patents"; mkdir "$work/out/patents"
    read -r m r < <(measure "$download" "127.0.0.1:$port" BIG "$work/out/patents/"); add command "$m" "$r"
    cmp -s "$work/out/patents/BIG.pdf" "$body" || { echo "the download command saved a different file" >&2; exit 1; }
    rm -rf "$work/out/patents"
    echo "round $i: to a file: vantorel-get $(echo ${ms[get_file]} | awk '{print $NF}') ms," \
        "curl $(echo ${ms[curl_file]} | awk '{print $NF}') ms;" \
        "to /dev/null: vantorel-get $(echo ${ms[get_null]} | awk '{print $NF}') ms," \
        "curl $(echo ${ms[curl_null]} | awk '{print $NF}') ms;" \
        "download command $(echo ${ms[command]} | awk '{print $NF}') ms"
done

median() { printf '%s\n' $1 | sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
maximum() { printf '%s\n' $1 | sort -n | tail -1; }
report() {  # label ours theirs target
    awk -v l="$1" -v g="$(median "${ms[$2]}")" -v c="$(median "${ms[$3]}")" -v t="$4" 'BEGIN {
        printf "%s (median): vantorel-get %d ms, curl %d ms, ratio %.3f (target <= %.2f: %s)\n",
            l, g, c, g / c, t, g / c <= t ? "met" : "MISSED" }'
}
echo "body: $size_mib MiB over loopback from nginx, $rounds rounds"
report "into a file" get_file curl_file 1.05
report "into /dev/null" get_null curl_null 1.10
awk -v g="$(maximum "${rss[get_file]} ${rss[get_null]}")" -v c="$(maximum "${rss[curl_file]}")" \
    -v d="$(maximum "${rss[command]}")" -v dm="$(median "${ms[command]}")" 'BEGIN {
    printf "peak memory: vantorel-get %.1f MiB (target < 32: %s), curl %.1f MiB\n",
        g / 1024, g < 32 * 1024 ? "met" : "MISSED", c / 1024
    printf "download command, one PDF of the same size: median %d ms, peak memory %.1f MiB (target < 64: %s)\n",
        dm, d / 1024, d < 64 * 1024 ? "met" : "MISSED"
}'

#!/usr/bin/env bash
# The download command against curl: one request listing 20 PDFs of 5 MiB from
# vantorel-service, fetched into a fresh folder, alternating runs.
# Usage: bench/download/run.sh [ROUNDS]   (builds into build/bench)
# DOWNLOAD_BENCH names another download-bench binary to measure (an older build, say).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
rounds=${1:-5}
build=$root/build/bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOREL_BUILD_APP=OFF -DVANTOREL_BUILD_SERVICE=ON \
    -DVANTOREL_BUILD_TESTS=OFF -DVANTOREL_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target download-bench vantorel-service >/dev/null
bench=${DOWNLOAD_BENCH:-$build/bench/download/download-bench}

work=$(mktemp -d)
"$build/service/vantorel-service" --listen 127.0.0.1:0 --sample-size 5242880 >"$work/service.out" 2>&1 &
service=$!
trap 'kill $service 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/service.out" | head -n1)
    [ -n "$port" ] && break
    sleep 0.1
done
host=127.0.0.1:$port
numbers="US6892391;US2005102719;USRE35312;USPP8901;USD339456;UST109201;USH1523;WO2005043967;EP1534056;DE10362030;JP2005117900;GB2408435;FR2862839;RU2207970;AU2954402;IE12123;FI5443;NL293832;IT1245565;SE193831"

curl_run() {
    local folder=$1 start end
    start=$(date +%s.%N)
    index=$(curl -fsS "http://$host/patent_pdf/fetcher.php?patent=$numbers&name=demo&pswd=demo")
    args=()
    for address in ${index//<br>/ }; do
        name=${address##*/}
        args+=(-o "$folder/${name/_full/}" "$address")
    done
    curl -fsS "${args[@]}"
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

ours=() theirs=()
for round in $(seq "$rounds"); do
    rm -rf "$work/a" "$work/b" && mkdir "$work/a" "$work/b"
    ours+=("$("$bench" "$host" "$numbers" "$work/a/")")
    theirs+=("$(curl_run "$work/b")")
    [ "$(ls "$work/a" | wc -l)" -eq 20 ] || { echo "download command saved $(ls "$work/a" | wc -l) files"; exit 1; }
    cmp -s "$work/a/US6892391.pdf" "$work/b/US6892391.pdf" || { echo "files differ"; exit 1; }
    echo "round $round: download command ${ours[-1]} s, curl ${theirs[-1]} s"
done
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
m_ours=$(median "${ours[@]}")
m_theirs=$(median "${theirs[@]}")
printf 'median: download command %s s, curl %s s, ratio %.2f (target 0.64)\n' \
    "$m_ours" "$m_theirs" "$(echo "$m_ours / $m_theirs" | bc -l)"

#!/usr/bin/env bash
# A long request against a service that takes short request lines: a column of
# NUMBERS patent numbers (default 3000, one a line, CR LF) is pasted into an
# empty patent field (patent-paste-bench), and the resulting request is run
# through the download command (download-bench) against vantorel-service
# started with --max-request-line LIMIT (default 4096) and a catalogue holding
# every number. Prints the fetch requests the service logged (refused with 414
# and answered), the files saved and the wall time; then the same request
# against the service's own limit (64 KiB), which takes it whole. Also shows a
# 200-line column through the paste alone. The two runs alternate ROUNDS times
# (default 3) and the medians are printed.
# Usage: bench/download/split.sh [NUMBERS] [LIMIT] [ROUNDS]   (builds into build/bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
numbers=${1:-3000}
limit=${2:-4096}
rounds=${3:-3}
build=$root/build/bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOREL_BUILD_APP=OFF -DVANTOREL_BUILD_SERVICE=ON \
    -DVANTOREL_BUILD_TESTS=OFF -DVANTOREL_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target download-bench patent-paste-bench vantorel-service >/dev/null
bin=$build/bench/download

work=$(mktemp -d)
service=
trap '[ -n "$service" ] && kill $service 2>/dev/null; rm -rf "$work"' EXIT

column() {  # N numbers XA100000..., one a line, CR LF, a blank line in the middle
    awk -v n="$1" 'BEGIN { for (i = 0; i < n; i++) { printf "XA%d\r\n", 100000 + i; if (i == int(n / 2)) printf "\r\n" } }'
}

echo "== a 200-line column pasted into the patent field"
column 200 >"$work/column200"
"$bin/patent-paste-bench" <"$work/column200" >"$work/request200"
printf 'field: %s ... %s (%d numbers)\n' "$(cut -c1-40 "$work/request200")" \
    "$(rev "$work/request200" | cut -c1-30 | rev)" "$(($(tr -cd ';' <"$work/request200" | wc -c) + 1))"

mkdir "$work/catalogue"
printf '%%PDF-1.4\n%% vantorel bench\n%%%%EOF\n' >"$work/catalogue/XA100000.pdf"
for i in $(seq 100001 $((100000 + numbers - 1))); do ln "$work/catalogue/XA100000.pdf" "$work/catalogue/XA$i.pdf"; done
column "$numbers" >"$work/column"
"$bin/patent-paste-bench" <"$work/column" 2>/dev/null | tr -d '\n' >"$work/request"

run() {  # LABEL SERVICE-ARGUMENTS...
    local label=$1 log=$work/log folder=$work/folder
    shift
    rm -rf "$folder" "$log"
    mkdir "$folder"
    : >"$work/service.out"
    "$build/service/vantorel-service" --listen 127.0.0.1:0 --catalogue "$work/catalogue" --log "$log" "$@" \
        >"$work/service.out" 2>&1 &
    service=$!
    local port=
    for _ in $(seq 100); do
        port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/service.out" | head -n1)
        [ -n "$port" ] && break
        sleep 0.1
    done
    local seconds
    seconds=$("$bin/download-bench" "127.0.0.1:$port" "$(cat "$work/request")" "$folder/")
    kill "$service" && wait "$service" 2>/dev/null || true
    service=
    local fetches refused files
    fetches=$(grep -c 'fetcher\.php' "$log" || true)
    refused=$(grep 'fetcher\.php' "$log" | grep -c '" 414 ' || true)
    files=$(find "$folder" -name '*.pdf' | wc -l)
    printf 'limit %s: %d numbers (%d bytes), %d fetch requests (%d refused with 414, %d answered), %d files saved, %s s\n' \
        "$label" "$numbers" "$(wc -c <"$work/request")" "$fetches" "$refused" "$((fetches - refused))" "$files" "$seconds"
    [ "$files" -eq "$numbers" ] || { echo "expected $numbers files"; exit 1; }
    echo "$seconds" >>"$work/times.$label"
}

echo "== the pasted column of $numbers numbers through the download command"
for _ in $(seq "$rounds"); do
    run "$limit" --max-request-line "$limit"
    run 65536
done
median() { sort -g "$1" | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
printf 'median: limit %s %s s, limit 65536 %s s\n' "$limit" "$(median "$work/times.$limit")" "$(median "$work/times.65536")"

#!/usr/bin/env bash
# The reference service's reply latency: 20 sample documents on one keep-alive
# connection, fetched alternately by vantorel-get and by curl.
# Usage: bench/service/run.sh [ROUNDS]   (builds into build/bench-service)
# SERVICE=... and GET=... pick other binaries, e.g. an older build to compare.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
rounds=${1:-5}
build=$root/build/bench-service
if [ -z "${SERVICE:-}" ] || [ -z "${GET:-}" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOREL_BUILD_APP=OFF \
        -DVANTOREL_BUILD_TESTS=OFF >/dev/null
    cmake --build "$build" -j2 --target vantorel-service vantorel-get >/dev/null
fi
service_binary=${SERVICE:-$build/service/vantorel-service}
get_binary=${GET:-$build/tools/vantorel-get}

work=$(mktemp -d)
"$service_binary" --listen 127.0.0.1:0 --log /dev/null >"$work/service.out" 2>&1 &
service=$!
trap 'kill $service 2>/dev/null; rm -rf "$work"' EXIT
port=
for _ in $(seq 100); do
    port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/service.out" | head -n1)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { cat "$work/service.out"; exit 1; }

urls=() curl_args=()
for number in US6892391 US2005102719 USRE35312 USPP8901 USD339456 UST109201 USH1523 \
    WO2005043967 EP1534056 DE10362030 JP2005117900 GB2408435 FR2862839 RU2207970 AU2954402 \
    IE12123 FI5443 NL293832 IT1245565 SE193831; do
    urls+=("http://127.0.0.1:$port/files/${number}_full.pdf")
    curl_args+=(-o /dev/null "http://127.0.0.1:$port/files/${number}_full.pdf")
done

seconds() {  # seconds COMMAND...: wall time of one run, which must succeed
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
# One connection for all 20: curl says when it opened more than one.
connections=$(curl -sS -w '%{num_connects}\n' "${curl_args[@]}" | paste -sd+ | bc)
[ "$connections" -eq 1 ] || echo "note: curl opened $connections connections"

# Wall times include starting the program, which on a busy machine is most
# of it; curl's own sum of the 20 transfers shows the service alone.
ours=() theirs=() transfers=() single=()
for round in $(seq "$rounds"); do
    single+=("$(seconds "$get_binary" "${urls[0]}")")
    ours+=("$(seconds "$get_binary" "${urls[@]}")")
    theirs+=("$(seconds curl -fsS "${curl_args[@]}")")
    transfers+=("$(curl -fsS -w '%{time_total}\n' "${curl_args[@]}" | paste -sd+ | bc -l)")
    printf 'round %s: vantorel-get %.3f s, curl %.3f s (its transfers %.4f s)\n' "$round" \
        "${ours[-1]}" "${theirs[-1]}" "${transfers[-1]}"
done
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
printf 'median for 20 documents: vantorel-get %.3f s (%.3f s for the first alone), curl %.3f s, curl transfers alone %.4f s\n' \
    "$(median "${ours[@]}")" "$(median "${single[@]}")" "$(median "${theirs[@]}")" \
    "$(median "${transfers[@]}")"
echo "target: well under 0.1 s for the 20 (about 40 ms a reply meant 0.8 s)"

#!/usr/bin/env bash
# Starts the https servers the Windows https tests talk to, all on loopback:
# the reference service once per certificate of a throwaway CA (good, expired,
# notyet, wronghost, selfsigned), an `openssl s_server -HTTP` with the good
# certificate that sends scripted replies (files under DIR/www, each a whole
# HTTP response) and ends each with close_notify, and one that speaks only
# TLS 1.1 (tls11). Writes DIR/servers.txt,
# one "NAME PORT" a line, and the servers' pids to DIR/pids; the caller ends
# them. Returns at once; the servers run on.
# Usage: https_servers.sh DIR SERVICE
set -euo pipefail
dir=$1
service=$2
here=$(cd "$(dirname "$0")" && pwd)
"$here/make_certificates.sh" "$dir/certs" rsa
: >"$dir/servers.txt"
: >"$dir/pids"

for kind in good expired notyet wronghost selfsigned; do
    "$service" --listen 127.0.0.1:0 --tls-cert "$dir/certs/$kind.pem" --tls-key "$dir/certs/$kind.key" \
        --log "$dir/service-$kind.log" >"$dir/service-$kind.out" 2>&1 &
    echo $! >>"$dir/pids"
done

# Replies cut short and replies that run until the close.
mkdir -p "$dir/www"
printf 'HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n%s' "$(head -c 50 /dev/zero | tr '\0' x)" \
    >"$dir/www/cut"
printf 'HTTP/1.1 200 OK\r\n\r\n%s' "$(head -c 70000 /dev/zero | tr '\0' y)" >"$dir/www/whole"
free_port() {
    local candidate
    while :; do
        candidate=$((20000 + RANDOM % 40000))
        (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null || { echo "$candidate"; return; }
    done
}
scripted=$(free_port)
(cd "$dir/www" && exec openssl s_server -quiet -HTTP -http_server_binmode -accept "127.0.0.1:$scripted" \
    -cert "$dir/certs/good.pem" -key "$dir/certs/good.key") >"$dir/scripted.out" 2>&1 </dev/null &
echo $! >>"$dir/pids"
old=$(free_port)
openssl s_server -quiet -www -tls1_1 -cipher 'DEFAULT@SECLEVEL=0' -accept "127.0.0.1:$old" \
    -cert "$dir/certs/good.pem" -key "$dir/certs/good.key" >"$dir/tls11.out" 2>&1 </dev/null &
echo $! >>"$dir/pids"

for kind in good expired notyet wronghost selfsigned; do
    port=
    for _ in $(seq 100); do
        port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$dir/service-$kind.out" | head -n1)
        [ -n "$port" ] && break
        sleep 0.1
    done
    [ -n "$port" ] || { echo "the $kind service did not start"; cat "$dir/service-$kind.out"; exit 1; }
    echo "$kind $port" >>"$dir/servers.txt"
done
for name in scripted tls11; do
    [ $name = scripted ] && port=$scripted || port=$old
    for _ in $(seq 100); do
        (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
        sleep 0.1
    done
    echo "$name $port" >>"$dir/servers.txt"
done

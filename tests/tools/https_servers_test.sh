#!/usr/bin/env bash
# vantorel-get over https against the reference service and against nginx on
# loopback, each with a throwaway CA's certificates: what arrives, and the
# words of every refused certificate.
# Usage: https_servers_test.sh VANTOREL_GET SERVICE REPO
set -uo pipefail
get=$1 service=$2 repo=$3
. "$repo/tests/e2e/need_tools.sh"
. "$repo/tests/e2e/service.sh"
# nginx lives in /usr/sbin, which a user's PATH may lack.
export PATH="$PATH:/usr/sbin:/sbin"
need_tools openssl nginx curl cmp

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
failures=0 passes=0
check() {  # check LABEL COMMAND...
    local label=$1
    shift
    if "$@"; then echo "ok: $label"; passes=$((passes + 1)); else echo "FAILED: $label"; failures=$((failures + 1)); fi
}

"$repo/tests/support/make_certificates.sh" "$work/certs" || exit 1
certs=$work/certs
kinds=(good expired notyet wronghost selfsigned)
declare -A reason=(
    [expired]="it has expired."
    [notyet]="it is not yet valid."
    [wronghost]="host name mismatch (it was issued for another name)."
    [selfsigned]="it is self-signed and not trusted."
)
unknown="unknown issuer (no trusted authority signed it; a company's own CA can be named in CAFile)."

# One reference service per certificate.
declare -A service_port
for kind in "${kinds[@]}"; do
    start_service "$service" "$work/service-$kind.out" --tls-cert "$certs/$kind.pem" --tls-key "$certs/$kind.key" \
        --log "$work/service-$kind.log"
    service_port[$kind]=$port
done

# One nginx of our own (no master, no daemon: it stays ours and runs as us),
# a server per certificate and a plain one, on free ports.
mkdir -p "$work/nginx/logs" "$work/www/files"
head -c 3000000 /dev/urandom >"$work/www/files/big.pdf"
declare -A nginx_port
free_port() {
    local candidate
    while :; do
        candidate=$((20000 + RANDOM % 40000))
        (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null || { echo "$candidate"; return; }
    done
}
start_nginx() {
    local kind servers=""
    for kind in "${kinds[@]}"; do
        nginx_port[$kind]=$(free_port)
        servers+="server { listen 127.0.0.1:${nginx_port[$kind]} ssl; ssl_certificate $certs/$kind.pem;
            ssl_certificate_key $certs/$kind.key; root $work/www; }
"
    done
    nginx_port[plain]=$(free_port)
    nginx_port[tls12]=$(free_port)
    servers+="server { listen 127.0.0.1:${nginx_port[tls12]} ssl; ssl_protocols TLSv1.2;
            ssl_certificate $certs/good.pem; ssl_certificate_key $certs/good.key; root $work/www; }
"
    cat >"$work/nginx/nginx.conf" <<CONF
daemon off;
master_process off;
pid $work/nginx/nginx.pid;
error_log $work/nginx/logs/error.log;
events { worker_connections 64; }
http {
    access_log off;
    client_body_temp_path $work/nginx/body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    uwsgi_temp_path $work/nginx/uwsgi;
    scgi_temp_path $work/nginx/scgi;
    $servers
    server { listen 127.0.0.1:${nginx_port[plain]}; root $work/www; }
}
CONF
    nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" -e "$work/nginx/logs/error.log" &
    pids+=($!)
    local pid=$!
    for _ in $(seq 50); do
        curl -s -o /dev/null "http://127.0.0.1:${nginx_port[plain]}/files/big.pdf" && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
started=false
for _ in 1 2 3; do start_nginx && { started=true; break; }; done
check "nginx started (package nginx-light)" $started || { cat "$work/nginx/logs/error.log"; exit 1; }

# --- every certificate, at both servers ---
index='/patent_pdf/fetcher.php?patent=US6892391&name=demo&pswd=demo'
for server in service nginx; do
    for kind in "${kinds[@]}"; do
        if [ $server = service ]; then p=${service_port[$kind]} path=$index; else p=${nginx_port[$kind]} path=/files/big.pdf; fi
        "$get" --cafile "$certs/ca.pem" "https://localhost:$p$path" >"$work/body" 2>"$work/err"
        rc=$?
        if [ "$kind" = good ]; then
            check "$server, good certificate: fetched" test $rc -eq 0 -a -s "$work/body"
        else
            check "$server, $kind certificate: refused with its reason" \
                grep -qxF "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest_#5 --> THTTPClient.ConnectToHost_#10 --> THTTPClient.TLSHandshake#1 --> The certificate of localhost is refused: ${reason[$kind]}" "$work/err"
            check "$server, $kind certificate: nothing written" test $rc -ne 0 -a ! -s "$work/body"
        fi
    done
    if [ $server = service ]; then p=${service_port[good]}; else p=${nginx_port[good]}; fi
    "$get" "https://localhost:$p/" >/dev/null 2>"$work/err"
    check "$server: without the CA file the issuer is unknown" grep -qF "is refused: $unknown" "$work/err"
done
"$get" --cafile "$certs/ca.pem" "https://127.0.0.1:${nginx_port[wronghost]}/files/big.pdf" >/dev/null 2>"$work/err"
check "an address checked against the certificate's addresses" \
    grep -qF "The certificate of 127.0.0.1 is refused: ${reason[wronghost]}" "$work/err"

# --- what arrives ---
"$get" --cafile "$certs/ca.pem" "https://localhost:${nginx_port[good]}/files/big.pdf" >"$work/tls.pdf"
check "nginx over https: the file byte for byte" cmp -s "$work/tls.pdf" "$work/www/files/big.pdf"
"$get" --cafile "$certs/ca.pem" "https://localhost:${nginx_port[tls12]}/files/big.pdf" >"$work/tls12.pdf"
check "nginx over TLS 1.2 only: the file byte for byte" cmp -s "$work/tls12.pdf" "$work/www/files/big.pdf"
"$get" "http://127.0.0.1:${nginx_port[plain]}/files/big.pdf" >"$work/plain.pdf"
check "nginx over http: the file byte for byte" cmp -s "$work/plain.pdf" "$work/www/files/big.pdf"
p=${service_port[good]}
"$get" --cafile "$certs/ca.pem" "https://localhost:$p$index" /files/US6892391_full.pdf >"$work/both" 2>"$work/err"
check "service over https: index and file on one client" test $? -eq 0
check "service over https: the index lists https addresses" grep -qF "https://localhost:$p/files/US6892391_full.pdf<br>" "$work/both"
# A line is logged once its reply is out: it may trail the reply a little.
for _ in $(seq 30); do grep -q 'GET /files/US6892391_full.pdf' "$work/service-good.log" && break; sleep 0.1; done
peers=$(grep -F '"GET ' "$work/service-good.log" | tail -n 2 | sed 's/.* \(127\.0\.0\.1:[0-9]*\) "GET .*/\1/' | sort -u | wc -l)
curl -fsS --cacert "$certs/ca.pem" "https://localhost:$p/files/US6892391_full.pdf" -o "$work/curl.pdf"
check "service over https: the file as curl gets it" \
    cmp -s <(tail -c "$(stat -c %s "$work/curl.pdf")" "$work/both") "$work/curl.pdf"
check "service over https: both requests on one kept connection" test "$peers" -eq 1

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]

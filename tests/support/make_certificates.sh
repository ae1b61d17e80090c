#!/usr/bin/env bash
# Makes a throwaway CA and server certificates in DIR with openssl (nothing
# of it is ever committed): good.pem (localhost and 127.0.0.1, signed by the
# CA), expired.pem, notyet.pem, wronghost.pem (for another name), selfsigned.pem
# (no CA), each with its .key; ca.pem is the CA's certificate. Keys are EC
# P-256; with "rsa" the CA's key is RSA: Wine's certificate checks now and
# then find an ECDSA signature invalid that is not, so under Wine the CA
# signs with RSA.
# Usage: make_certificates.sh DIR [rsa]
set -euo pipefail
dir=$1
algorithm=${2:-ec}
command -v openssl >/dev/null || { echo "FAILED: missing openssl (package openssl)"; exit 1; }
mkdir -p "$dir"
cd "$dir"
quiet() { "$@" >/dev/null 2>&1 || { echo "make_certificates.sh: $* failed" >&2; "$@"; exit 1; }; }

key() {
    if [ "$algorithm" = rsa ] && [ "$1" = ca ]; then
        quiet openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1.key"
    else
        quiet openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$1.key"
    fi
}
key ca
quiet openssl req -x509 -new -key ca.key -out ca.pem -days 30 -subj "/CN=Vantorel Test CA" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign

: >index.txt
echo 1000 >serial
cat >ca.cnf <<'CNF'
[ca]
default_ca = test
[test]
database = index.txt
new_certs_dir = .
serial = serial
default_md = sha256
policy = any
unique_subject = no
[any]
commonName = supplied
[server]
basicConstraints = CA:FALSE
extendedKeyUsage = serverAuth
subjectAltName = $ENV::NAMES
CNF

# sign NAME SUBJECT-ALT-NAMES START END
sign() {
    key "$1"
    quiet openssl req -new -key "$1.key" -out "$1.csr" -subj "/CN=$1"
    NAMES=$2 quiet openssl ca -batch -config ca.cnf -extensions server -cert ca.pem -keyfile ca.key \
        -in "$1.csr" -out "$1.pem" -startdate "$3" -enddate "$4" -notext
}
now=$(date -u +%s)
stamp() { date -u -d "@$1" +%Y%m%d%H%M%SZ; }
day=86400
sign good "DNS:localhost,IP:127.0.0.1" "$(stamp $((now - day)))" "$(stamp $((now + 30 * day)))"
sign expired "DNS:localhost,IP:127.0.0.1" "$(stamp $((now - 30 * day)))" "$(stamp $((now - day)))"
sign notyet "DNS:localhost,IP:127.0.0.1" "$(stamp $((now + 10 * day)))" "$(stamp $((now + 30 * day)))"
sign wronghost "DNS:patents.example,IP:192.0.2.1" "$(stamp $((now - day)))" "$(stamp $((now + 30 * day)))"
key selfsigned
quiet openssl req -x509 -new -key selfsigned.key -out selfsigned.pem -days 30 -subj /CN=localhost \
    -addext subjectAltName=DNS:localhost,IP:127.0.0.1

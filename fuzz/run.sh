#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UBSan in their own
# build folder and runs the HTTP client target for SECONDS (default 60).
# Exits non-zero on a crash, leak, hang (10 s per input) or sanitizer report.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VANTOREL_FUZZ_BUILD:-$root/build-fuzz}
clang=${CLANGXX:-clang++-14}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$clang" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
    -DVANTOREL_BUILD_APP=OFF -DVANTOREL_BUILD_SERVICE=OFF -DVANTOREL_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" -j2 fuzz_http_client

# The committed seeds stay untouched; what the run learns goes to the build folder.
corpus=$build/fuzz-corpus/http_client
artifacts=$build/fuzz-artifacts/
mkdir -p "$corpus" "$artifacts"

# Throwaway certificates for the inputs that go over TLS.
export VANTOREL_FUZZ_CERTS=$build/fuzz-certs
[ -f "$VANTOREL_FUZZ_CERTS/good.pem" ] || "$root/tests/support/make_certificates.sh" "$VANTOREL_FUZZ_CERTS"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
"$build/fuzz/fuzz_http_client" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -dict="$root/fuzz/http.dict" -print_final_stats=1 -artifact_prefix="$artifacts" \
    "$corpus" "$root/fuzz/corpus"

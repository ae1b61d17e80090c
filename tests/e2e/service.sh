# Sourced by the end-to-end scripts: starts the reference service on a free
# loopback port. Sets `port`, appends the service's pid to `pids`.
# Usage: start_service SERVICE_BINARY OUTPUT_FILE [OPTIONS...]
start_service() {
    local binary=$1 output=$2
    shift 2
    "$binary" --listen 127.0.0.1:0 "$@" >"$output" 2>&1 &
    pids+=($!)
    port=
    for _ in $(seq 100); do
        port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$output" | head -n1)
        [ -n "$port" ] && return 0
        sleep 0.1
    done
    echo "service did not start"
    cat "$output"
    exit 1
}

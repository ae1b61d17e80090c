#!/usr/bin/env bash
# Builds everything and runs every test suite. Extra arguments go to cmake,
# e.g. scripts/test.sh -DVANTOREL_SANITIZE=ON. BUILD_DIR picks the build folder.
# On Debian it first installs what scripts/packages.txt lists and is missing
# (apt-get, through sudo when not root), so a fresh machine needs nothing else.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/test}

say() { printf 'test.sh: %s\n' "$*" >&2; }

mapfile -t packages < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$root/scripts/packages.txt" | grep -v '^$')
. "$root/scripts/missing-packages.sh"
install_missing_packages --no-install-recommends "${packages[@]}"
for tool in cmake ninja; do
    command -v "$tool" >/dev/null 2>&1 || { say "$tool is missing (see scripts/packages.txt)"; exit 1; }
done

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build" -j2

# Tests never touch the real home folder.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
    XDG_STATE_HOME="$scratch/state" XDG_CACHE_HOME="$scratch/cache" XDG_RUNTIME_DIR="$scratch/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_STATE_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

ctest --test-dir "$build" --output-on-failure -j2 --timeout 300

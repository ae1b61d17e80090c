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
if command -v dpkg-query >/dev/null 2>&1 && command -v apt-get >/dev/null 2>&1; then
    missing=()
    for package in "${packages[@]}"; do
        [ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" = "install ok installed" ] ||
            missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        as_root=()
        if [ "$(id -u)" -ne 0 ]; then
            command -v sudo >/dev/null 2>&1 ||
                { say "missing packages (${missing[*]}) and no sudo: install them as root"; exit 1; }
            as_root=(sudo)
        fi
        say "installing missing packages: ${missing[*]}"
        "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
        "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
else
    say "not a Debian system: make sure these (or their equivalents) are installed: ${packages[*]}"
fi
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

#!/usr/bin/env bash
# Builds the Windows program and its installer on Debian, with MinGW-w64 and
# NSIS (64-bit, Release, statically linked), and writes
#   OUT_DIR/Vantorel Patent Downloader.exe
#   OUT_DIR/vantorel-patent-downloader-setup.exe
# Usage: scripts/build-windows.sh [OUT_DIR]      (default: build/windows)
# The cross build itself lives in build/windows-release (VANTOREL_WINDOWS_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
case ${1:-} in
    -h | --help) sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
esac
[ $# -le 1 ] || { echo "usage: scripts/build-windows.sh [OUT_DIR]" >&2; exit 2; }
out=${1:-$root/build/windows}
build=${VANTOREL_WINDOWS_BUILD_DIR:-$root/build/windows-release}

# Install only what is missing.
export DEBIAN_FRONTEND=noninteractive
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
missing=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64-posix)
command -v makensis >/dev/null || missing+=(nsis)
command -v cmake >/dev/null || missing+=(cmake)
command -v ninja >/dev/null || missing+=(ninja-build)
if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing ${missing[*]}"
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

echo "== cross build in $build"
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DVANTOREL_BUILD_APP=ON -DVANTOREL_BUILD_SERVICE=OFF -DVANTOREL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target installer

program=$(head -n1 "$build/program-path.txt")
mkdir -p "$out"
cp -f "$program" "$out/"
cp -f "$build/vantorel-patent-downloader-setup.exe" "$out/"
for file in "$out/Vantorel Patent Downloader.exe" "$out/vantorel-patent-downloader-setup.exe"; do
    printf '%s  %s bytes\n' "$file" "$(stat -c %s "$file")"
done

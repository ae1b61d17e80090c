#!/usr/bin/env bash
# Builds the Debian 12 package and writes
#   OUT_DIR/vantorel-patent-downloader_<version>_amd64.deb
# (version from project() in CMakeLists.txt), then checks it with lintian
# (no errors allowed), desktop-file-validate and appstreamcli.
# Usage: scripts/build-deb.sh [OUT_DIR]               (default: build)
# BUILD_DIR: an already configured build folder to package from (CI builds
# once); without it a Release build goes to build/deb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
case ${1:-} in
    -h | --help) sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
esac
[ $# -le 1 ] || { echo "usage: scripts/build-deb.sh [OUT_DIR]" >&2; exit 2; }
# Absolute, as cpack runs in a folder of its own.
out=$(realpath -m -- "${1:-$root/build}")
build=$(realpath -m -- "${BUILD_DIR:-$root/build/deb}")

say() { printf 'build-deb: %s\n' "$*" >&2; }
. "$root/scripts/missing-packages.sh"
# dpkg-dev brings dpkg-shlibdeps and dpkg-buildflags, file lets CPack find
# the binaries whose libraries become the dependencies.
{ install_missing_packages --no-install-recommends build-essential cmake ninja-build qt6-base-dev \
    libgl-dev libssl-dev dpkg-dev file lintian desktop-file-utils appstream; } >&2

if [ ! -f "$build/CMakeCache.txt" ]; then
    say "Release build in $build"
    # Debian's hardening flags, all of them (bindnow too).
    export DEB_BUILD_MAINT_OPTIONS=${DEB_BUILD_MAINT_OPTIONS:-hardening=+all}
    CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
        LDFLAGS=$(dpkg-buildflags --get LDFLAGS) \
        cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DVANTOREL_BUILD_TESTS=OFF >&2
else
    say "packaging from the build in $build"
fi
# Standard output carries only the package's path.
cmake --build "$build" -j2 --target vantorel-patent-downloader vantorel-service vantorel-get \
    vantorel-package-files >&2
[ -f "$build/CPackConfig.cmake" ] || { say "$build has no package configuration"; exit 1; }

work=$(mktemp -d "$build/.deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >cpack.log 2>&1) ||
    { cat "$work/cpack.log" >&2; say "cpack failed"; exit 1; }
deb=$(find "$work" -maxdepth 1 -name 'vantorel-patent-downloader_*_amd64.deb' -print -quit)
[ -n "$deb" ] || { cat "$work/cpack.log" >&2; say "cpack wrote no package"; exit 1; }
mkdir -p "$out"
mv -f -- "$deb" "$out/"
deb=$out/$(basename "$deb")

# The installed desktop file and metainfo, as the package holds them.
dpkg-deb -x "$deb" "$work/tree"
desktop-file-validate "$work/tree/usr/share/applications/vantorel-patent-downloader.desktop"
appstreamcli validate --no-net --pedantic "$work"/tree/usr/share/metainfo/*.metainfo.xml >&2
# Warnings are shown; an error fails the build.
lintian --fail-on error --tag-display-limit 0 "$deb" >&2
say "wrote $deb ($(du -k "$deb" | cut -f1) KiB); Depends: $(dpkg-deb -f "$deb" Depends)"
printf '%s\n' "$deb"

#!/usr/bin/env bash
# Cross-builds the core, its tools and its test suites for 64-bit Windows
# with MinGW-w64 and runs every test program under Wine, in a Wine prefix of
# its own that is thrown away afterwards. BUILD_DIR picks the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/windows}
gtest_source=/usr/src/googletest

# Install only what is missing, so a machine that has it all starts at once.
export DEBIAN_FRONTEND=noninteractive
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
missing=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64-posix)
[ -x /usr/lib/wine/wine64 ] || missing+=(wine64)
[ -f "$gtest_source/CMakeLists.txt" ] || missing+=(googletest)
command -v cmake >/dev/null || missing+=(cmake)
command -v ninja >/dev/null || missing+=(ninja-build)
qt_headers=/usr/include/x86_64-linux-gnu/qt6
[ -f "$qt_headers/QtWidgets/QWidget" ] || missing+=(qt6-base-dev)
if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing ${missing[*]}"
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

echo "== cross build in $build"
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_CXX_FLAGS_MINSIZEREL="-O1" \
    -DVANTOREL_BUILD_APP=OFF -DVANTOREL_BUILD_SERVICE=OFF \
    -DVANTOREL_GTEST_SOURCE="$gtest_source" >/dev/null
cmake --build "$build" -j2
echo "(built in ${SECONDS}s)"

# Debian has no Qt 6 for Windows to link the window against, so its sources
# are compiled for Windows against Debian's Qt headers, with Qt's Windows
# branches on, and not linked. This catches POSIX calls and headers in src/app.
echo "== window sources for Windows (compiled, not linked)"
find "$root/src/app" -name '*.cpp' -print0 | sort -z |
    xargs -0 -n 1 -P 2 x86_64-w64-mingw32-g++-posix -fsyntax-only -std=c++17 -Wall -Wextra \
        -DWIN32_LEAN_AND_MEAN -DNOMINMAX -I"$root/src" -isystem "$qt_headers" \
        -isystem "$qt_headers/QtCore" -isystem "$qt_headers/QtGui" -isystem "$qt_headers/QtWidgets" -isystem "$qt_headers/QtTest"

# A prefix of our own; nothing reaches the real home folder.
scratch=$(mktemp -d)
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko: the tests need neither, and a fresh prefix would ask for them.
export WINEDLLOVERRIDES="mscoree=;mshtml="
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache" \
    XDG_DATA_HOME="$scratch/data"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

echo "== starting a Wine prefix"
timeout 300 "$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" -w
"$wineserver" -p  # one server for all the test programs, ended by the clean-up

# Checks that Wine itself cannot pass, by program. Wine 8 hands back an
# orderly end of stream where Windows reports WSAECONNRESET after the peer's
# abortive close (a Linux peer's reset included), so the reset check runs on
# Linux only.
declare -A wine_cannot=(
    [http_client_tests]="HttpClientTest.ResetByPeerGivesItsSocketText"
)

# Each program runs its tests one after the other: they share the per-user
# registry of the prefix, as programs on Windows do.
tests_started=$SECONDS
passed=0
failed=0
bad=()
while IFS= read -r program; do
    name=$(basename "$program" .exe)
    log="$scratch/$name.log"
    echo "== $name"
    filter=()
    if [ -n "${wine_cannot[$name]:-}" ]; then
        filter=("--gtest_filter=-${wine_cannot[$name]}")
        echo "(left out under Wine: ${wine_cannot[$name]})"
    fi
    status=0
    (cd "$(dirname "$program")" && timeout 600 "$wine" "$program" --gtest_brief=1 "${filter[@]}") \
        >"$log" 2>&1 || status=$?
    grep -v '^Running main() from' "$log" || true
    ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p' "$log" | tail -1)
    good=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | tail -1)
    skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\{0,1\}, listed below:.*/\1/p' "$log" | tail -1)
    ran=${ran:-0}
    good=${good:-0}
    lost=$((ran - good - ${skipped:-0}))
    if [ "$status" -ne 0 ] && [ "$lost" -eq 0 ]; then
        lost=1  # it ended before gtest could count (a crash or the time limit)
        echo "$name ended with status $status"
    fi
    passed=$((passed + good))
    failed=$((failed + lost))
    [ "$status" -eq 0 ] || bad+=("$name")
done < <(find "$build/tests" -name '*_test.exe' -o -name '*_tests.exe' | sort)

if [ $((passed + failed)) -eq 0 ]; then
    echo "no test program was found under $build/tests"
    exit 1
fi
[ ${#bad[@]} -eq 0 ] || echo "failing programs: ${bad[*]}"
echo "(tests ran in $((SECONDS - tests_started))s)"
echo "Windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ ${#bad[@]} -eq 0 ]

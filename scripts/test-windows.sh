#!/usr/bin/env bash
# Cross-builds the program, its installer, the tools and the test suites for
# 64-bit Windows with MinGW-w64 and runs every test program under Wine, in a
# Wine prefix of its own and on an X server of its own, both thrown away
# afterwards. Then one end to end: the installer into a fresh prefix, and the
# installed program downloading from the reference service built natively.
# BUILD_DIR picks the cross build folder, SERVICE_BUILD_DIR the native one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/windows-test}
service_build=${SERVICE_BUILD_DIR:-$root/build/windows-service}
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
command -v makensis >/dev/null || missing+=(nsis)
command -v g++ >/dev/null || missing+=(g++)
command -v Xvfb >/dev/null || missing+=(xvfb)
command -v xdotool >/dev/null || missing+=(xdotool)
command -v curl >/dev/null || missing+=(curl)
command -v openssl >/dev/null || missing+=(openssl)
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
    -DVANTOREL_BUILD_APP=ON -DVANTOREL_BUILD_SERVICE=OFF \
    -DVANTOREL_GTEST_SOURCE="$gtest_source" >/dev/null
cmake --build "$build" -j2
cmake --build "$build" -j2 --target installer
echo "== reference service, native build in $service_build"
cmake -S "$root" -B "$service_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVANTOREL_BUILD_APP=OFF -DVANTOREL_BUILD_TESTS=OFF >/dev/null
cmake --build "$service_build" -j2 --target vantorel-service
echo "(built in ${SECONDS}s)"

# A prefix of our own; nothing reaches the real home folder.
scratch=$(mktemp -d)
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko: the tests need neither, and a fresh prefix would ask for
# them. No menu builder: nothing goes into the desktop's menus.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache" \
    XDG_DATA_HOME="$scratch/data"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME"
unset WAYLAND_DISPLAY XAUTHORITY
xvfb=
cleanup() {
    "$wineserver" -k 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    if [ -f "$scratch/https/pids" ]; then
        while read -r pid; do kill "$pid" 2>/dev/null || true; done <"$scratch/https/pids"
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# The window's tests and the end to end need a display: an X server of our
# own on the first free display number, never one that others use.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
[ -s "$scratch/display" ] || { echo "Xvfb did not start"; cat "$scratch/xvfb.log"; exit 1; }
display=$(head -n1 "$scratch/display")
export DISPLAY=":$display"

echo "== starting a Wine prefix"
timeout 300 "$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" -w
"$wineserver" -p  # one server for all the test programs, ended by the clean-up

# The https servers on loopback for the https tests, named to them by their
# folder as the programs see it (Wine's drive Z: is the root).
mkdir -p "$scratch/https"
"$root/tests/support/https_servers.sh" "$scratch/https" "$service_build/service/vantorel-service"
export VANTOREL_HTTPS_SERVERS="Z:${scratch//\//\\}\\https"

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
"$wineserver" -k 2>/dev/null || true

echo "== end to end: installer, download, uninstaller"
e2e=passed
"$root/tests/e2e/windows_install_e2e.sh" "$build/vantorel-patent-downloader-setup.exe" \
    "$service_build/service/vantorel-service" || e2e=FAILED
echo "Windows: $passed passed, $failed failed; end to end $e2e (step took ${SECONDS}s)"
[ "$failed" -eq 0 ] && [ ${#bad[@]} -eq 0 ] && [ "$e2e" = passed ]

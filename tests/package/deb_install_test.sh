#!/usr/bin/env bash
# The Debian package on the honest machine: a minimal Debian 12 root made with
# debootstrap from this machine's configured mirror. There the package is
# installed with apt-get (what comes along must be exactly what its Depends
# need), a fresh user starts the installed program through the menu entry's
# Exec under Xvfb and downloads US6892391 from the installed service, a second
# start changes nothing of the user's setup, an upgrade, apt-get remove and
# purge leave every file of the user and, once removed, none of the package. Needs root (debootstrap, chroot, mount).
# Usage: deb_install_test.sh DEB          VANTOREL_DEB_MIRROR overrides the mirror
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/need_tools.sh"
need_tools debootstrap chroot xvfb-run xwininfo dpkg-deb dpkg-shlibdeps man mount umount
[ $# -eq 1 ] && [ -f "$1" ] || { echo "usage: deb_install_test.sh DEB"; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "FAILED: needs root (debootstrap, chroot)"; exit 1; }
deb=$(readlink -f "$1")
package=vantorel-patent-downloader

failures=0
passes=0
check() {  # check LABEL COMMAND...
    local label=$1
    shift
    if "$@"; then echo "ok: $label"; passes=$((passes + 1)); else echo "FAILED: $label"; failures=$((failures + 1)); fi
}

work=$(mktemp -d "${TMPDIR:-/tmp}/vantorel-deb.XXXXXX")
root=$work/root
pids=()
mounts=()
cleanup() {
    local pid index
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    for ((index = ${#mounts[@]} - 1; index >= 0; index--)); do
        umount "${mounts[index]}" 2>/dev/null || umount -l "${mounts[index]}" 2>/dev/null
    done
    # Never into a file system still mounted inside the root.
    rm -rf --one-file-system "$work"
}
trap cleanup EXIT
in_root() { chroot "$root" "$@"; }
as_alice() {  # a login-like environment of the fresh user inside the root
    chroot --userspec=alice:alice "$root" env -i HOME=/home/alice USER=alice LOGNAME=alice \
        PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 "$@"
}

# The mirror this machine's apt uses.
mirror=${VANTOREL_DEB_MIRROR:-}
if [ -z "$mirror" ]; then
    mirror=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
        awk '/^URIs:/ && $2 ~ /\/debian\/?$/ { print $2; exit }')
fi
if [ -z "$mirror" ]; then
    mirror=$(grep -hE '^deb +(\[[^]]*\] +)?[a-z]+://[^ ]+ +bookworm ' /etc/apt/sources.list \
        /etc/apt/sources.list.d/*.list 2>/dev/null | sed -E 's/^deb +(\[[^]]*\] +)?//' |
        awk '{ print $1; exit }')
fi
mirror=${mirror:-http://deb.debian.org/debian}

echo "== debootstrap --variant=minbase bookworm from $mirror"
started=$SECONDS
if ! debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1; then
    tail -n 20 "$work/debootstrap.log"
    echo "FAILED: debootstrap"
    exit 1
fi
echo "   $((SECONDS - started)) s"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# An apt proxy of this machine's is the way to the mirror from the root too.
for conf in /etc/apt/apt.conf.d/*; do
    [ -f "$conf" ] && grep -qi 'proxy' "$conf" && cp "$conf" "$root/etc/apt/apt.conf.d/"
done
mount -t proc proc "$root/proc" && mounts+=("$root/proc")
# The X servers' socket folder, as Xvfb would make it, shared with the root.
[ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" && mounts+=("$root/tmp/.X11-unix")

# --- the package's own dependencies are the ones its binaries need ---
dpkg-deb -x "$deb" "$work/tree"
dpkg-deb -e "$deb" "$work/control"
depends=$(dpkg-deb -f "$deb" Depends)
mkdir -p "$work/shlibs/debian"
: >"$work/shlibs/debian/control"
mapfile -t elves < <(find "$work/tree" -type f -perm -u+x -exec sh -c 'head -c4 "$1" | grep -q ELF' sh {} \; -print)
computed=$(cd "$work/shlibs" && dpkg-shlibdeps -O "${elves[@]}" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
names() { tr ',' '\n' | sed -E 's/\(.*\)//; s/[[:space:]]//g' | grep -v '^$' | sort -u; }
check "Depends is what dpkg-shlibdeps reads from the binaries" \
    test "$(names <<<"$depends")" = "$(names <<<"$computed")"
check "${#elves[@]} binaries in the package" test "${#elves[@]}" -eq 3
check "man vantorel-get shows its options" \
    sh -c "man -l '$work/tree/usr/share/man/man1/vantorel-get.1.gz' 2>/dev/null | grep -q -- --connect-timeout"
# Nothing of the package runs at install or removal, so no home is touched.
check "no maintainer scripts" test -z "$(find "$work/control" -mindepth 1 ! -name control ! -name md5sums)"

# --- apt-get install pulls in exactly what Depends needs ---
in_root dpkg-query -W -f='${Package}\n' | sort >"$work/before"
cp "$deb" "$root/tmp/$package.deb"
echo "== apt-get install ./$package.deb"
started=$SECONDS
if ! in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "/tmp/$package.deb" >"$work/apt-install.log" 2>&1; then
    tail -n 20 "$work/apt-install.log"
    echo "FAILED: apt-get install"
    exit 1
fi
echo "   $((SECONDS - started)) s"
in_root dpkg-query -W -f='${Package}\n' | sort >"$work/after"
comm -13 "$work/before" "$work/after" >"$work/new"
# The packages Depends reaches, one dependency after another, each alternative
# taken by whichever installed package (or provider) satisfies it.
in_root dpkg-query -W -f='${Package}\t${Provides}\t${Pre-Depends}, ${Depends}\n' >"$work/status"
awk -F'\t' -v start="$package" '
    function clean(name) { gsub(/\(.*\)|:any|[[:space:]]/, "", name); return name }
    {
        pkg[$1] = 1; deps[$1] = $3
        n = split($2, provided, ",")
        for (i = 1; i <= n; i++) { p = clean(provided[i]); if (p != "" && !(p in provider)) provider[p] = $1 }
    }
    END {
        queue[1] = start; head = 1; tail = 1; seen[start] = 1
        while (head <= tail) {
            current = queue[head++]
            n = split(deps[current], list, ",")
            for (i = 1; i <= n; i++) {
                m = split(list[i], alternatives, "|")
                for (j = 1; j <= m; j++) {
                    name = clean(alternatives[j])
                    if (name == "") continue
                    if (!(name in pkg) && (name in provider)) name = provider[name]
                    if (name in pkg) {
                        if (!(name in seen)) { seen[name] = 1; queue[++tail] = name }
                        break
                    }
                }
            }
        }
        for (name in seen) print name
    }' "$work/status" | sort >"$work/reached"
check "every package apt-get brought is one Depends needs ($(wc -l <"$work/new") packages)" \
    test -z "$(comm -23 "$work/new" "$work/reached")"
comm -23 "$work/new" "$work/reached" | sed 's/^/   brought without need: /'
for dependency in $(names <<<"$depends"); do
    grep -qx "$dependency" "$work/after" || { echo "   not installed: $dependency"; failures=$((failures + 1)); }
done

# --- what the package installs ---
for path in /usr/bin/vantorel-patent-downloader /usr/bin/vantorel-service /usr/bin/vantorel-get \
    /usr/lib/$package/vantorel-patent-downloader /usr/lib/$package/setup-user \
    /usr/lib/systemd/user/vantorel-service.service /usr/share/applications/$package.desktop \
    /usr/share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/$package.png \
    /usr/share/man/man1/{vantorel-patent-downloader,vantorel-service,vantorel-get}.1.gz; do
    check "installed $path" test -e "$root$path"
done
check "the service's unit is not enabled" \
    test -z "$(find "$root/etc/systemd/user" -name 'vantorel*' 2>/dev/null)"
check "the 256 px icon is 256 x 256" \
    test "$(od -An -tu1 -j16 -N8 "$root/usr/share/icons/hicolor/256x256/apps/$package.png" | tr -s ' ')" \
    = " 0 0 1 0 0 0 1 0"

# --- a fresh user, the service from its unit's command line ---
in_root useradd -m -s /bin/sh alice
exec_start=$(sed -n 's/^ExecStart=//p' "$root/usr/lib/systemd/user/vantorel-service.service")
# The unit serves on 127.0.0.1:8741; here a free port (the last --listen wins).
as_alice sh -c "exec $exec_start --listen 127.0.0.1:0" >"$work/service.out" 2>&1 &
pids+=($!)
port=
for _ in $(seq 100); do
    port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/service.out" | head -n1)
    [ -n "$port" ] && break
    sleep 0.1
done
check "the installed service started from its unit's ExecStart" test -n "$port"
[ -n "$port" ] || { cat "$work/service.out"; exit 1; }

# The menu entry's Exec, field codes dropped, with the request as its argument.
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$package.desktop" | sed -E 's/ ?%[a-zA-Z]//g')
check "the menu entry starts the launcher in /usr/bin" \
    test "$(as_alice sh -c "command -v ${exec_line%% *}")" = /usr/bin/vantorel-patent-downloader
home=$root/home/alice
install=$home/.local/share/$package
registry=$home/.config/vantorel/registry.reg
cp "$work/tree/usr/share/applications/$package.desktop" "$work/entry.desktop"

start_window() {  # start_window REQUEST FILE: under Xvfb until FILE is there, or the window without FILE
    xvfb-run -a -f "$work/xauth" -s "-screen 0 1024x768x24" bash -c '
        root=$1 port=$2 exec_line=$3 request=$4 wanted=$5 work=$6
        args=()
        [ -z "$request" ] || args=("$request")
        cp "$XAUTHORITY" "$root/home/alice/.Xauthority"; chroot "$root" chown alice: /home/alice/.Xauthority
        chroot --userspec=alice:alice "$root" env -i HOME=/home/alice USER=alice LOGNAME=alice \
            PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" \
            XAUTHORITY=/home/alice/.Xauthority VANTOREL_SERVICE_HOST="127.0.0.1:$port" \
            sh -c "exec $exec_line \"\$@\"" sh "${args[@]}" >"$work/window.out" 2>&1 &
        app=$!
        for _ in $(seq 300); do
            if [ -n "$wanted" ]; then
                [ -e "$wanted" ] && break
            else
                xwininfo -root -children 2>/dev/null | grep -q "\"Vantorel Patent Downloader\"" && break
            fi
            kill -0 $app 2>/dev/null || break
            sleep 0.1
        done
        sleep 0.5
        readlink "/proc/$app/exe" >"$work/exe.txt"
        xwininfo -root -children >"$work/windows.txt" 2>&1
        kill $app 2>/dev/null
        wait $app 2>/dev/null
        exit 0
    ' sh "$root" "$port" "$exec_line" "$1" "$2" "$work"
}

echo "== first start of a fresh user"
start_window US6892391 "$install/patents/US6892391.pdf"
check "the menu entry's Exec ran the packaged program" \
    test "$(cat "$work/exe.txt")" = "$root/usr/lib/$package/vantorel-patent-downloader"
check "its window opened" grep -q '"Vantorel Patent Downloader"' "$work/windows.txt"
check "first start: install folder with patents/" test -d "$install/patents"
check "first start: InstallPath recorded" \
    grep -qF "\"InstallPath\"=\"/home/alice/.local/share/$package\"" "$registry"
check "first start: a first Settings file, readable by its owner only" \
    test "$(stat -c %a "$install/tessariant.ini" 2>/dev/null)" = 600
check "first start: the scheme handler's program is there" \
    in_root test -x "/home/alice/.local/share/$package/bin/vantorel-patent-downloader"
in_root vantorel-get "http://127.0.0.1:$port/files/US6892391_full.pdf" >"$work/expected.pdf"
check "US6892391 downloaded into the user's patent folder as the service serves it" \
    cmp -s "$install/patents/US6892391.pdf" "$work/expected.pdf"
[ -f "$install/patents/US6892391.pdf" ] || cat "$work/window.out"

# The program itself writes its browser entry into the registry file and its
# browser files into the install folder at each start, so those count by
# mode and content, the Settings file by its time as well.
setup_state() {
    stat -c '%n %a %s %Y' "$install/tessariant.ini"
    stat -c '%n %a' "$registry" "$install" "$install/patents" "$install/bin"
    cat "$registry" "$install/tessariant.ini"
}
# A change of the user's own is kept by every later start.
sed -i 's/^Timeout=.*/Timeout=77/' "$install/tessariant.ini"
before_second=$(setup_state)
echo "== second start"
rm -f "$work/exe.txt"
start_window "" ""
check "second start: the window opened again" grep -q '"Vantorel Patent Downloader"' "$work/windows.txt"
check "second start: registry, Settings file and folders unchanged" test "$(setup_state)" = "$before_second"
diff <(echo "$before_second") <(setup_state) | sed 's/^/   /' 

user_files() { (cd "$home" && find . -printf '%p %y %s %T@\n' | sort); }
package_files() { dpkg-deb -c "$deb" | awk '{ sub(/^\./, "", $6); print $6 }' | grep -v '/$'; }
kill "${pids[@]}" 2>/dev/null
wait 2>/dev/null
pids=()
users_before=$(user_files)

echo "== upgrade, remove, purge"
# The next version: the same package with a later version number.
dpkg-deb -R "$deb" "$work/next"
version=$(dpkg-deb -f "$deb" Version)
sed -i "s/^Version: .*/Version: $version+1/" "$work/next/DEBIAN/control"
dpkg-deb -b "$work/next" "$root/tmp/$package-next.deb" >/dev/null
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$package-next.deb" >/dev/null 2>&1
check "upgrade: the later version is installed" \
    test "$(in_root dpkg-query -W -f='${Version}' "$package")" = "$version+1"
check "upgrade: every file of the user kept" test "$(user_files)" = "$users_before"
in_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q "$package" >/dev/null 2>&1
left=$(package_files | while read -r path; do [ -e "$root$path" ] && echo "$path"; done)
check "remove: no file of the package is left" test -z "$left"
[ -z "$left" ] || echo "$left" | sed 's/^/   left: /'
check "remove: the package's own folders are gone" \
    test ! -e "$root/usr/lib/$package" -a ! -e "$root/usr/share/doc/$package"
check "remove: every file of the user kept" test "$(user_files)" = "$users_before"
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q "$package" >/dev/null 2>&1
check "purge: every file of the user kept" test "$(user_files)" = "$users_before"
check "purge: dpkg knows the package no more" \
    test -z "$(in_root dpkg-query -W -f='${Status}' "$package" 2>/dev/null)"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]

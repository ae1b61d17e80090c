# Sourced by the scripts that set a machine up; expects a say function.
# install_missing_packages [--no-install-recommends] PACKAGE...: on Debian,
# installs those of the packages that are not installed (apt-get update first,
# through sudo when not root); elsewhere it names them and returns.
install_missing_packages() {
    local options=()
    if [ "${1:-}" = --no-install-recommends ]; then
        options=("$1")
        shift
    fi
    if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
        say "not a Debian system: make sure these (or their equivalents) are installed: $*"
        return 0
    fi
    local package missing=() as_root=()
    for package; do
        [ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" = "install ok installed" ] ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null 2>&1 ||
            { say "missing packages (${missing[*]}) and no sudo: install them as root, then run this again"; exit 1; }
        as_root=(sudo)
    fi
    say "installing missing packages: ${missing[*]}"
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${options[@]}" "${missing[@]}"
}

# Sourced by the shell tests. A test whose tool is missing fails and says
# which Debian package brings it; it is never skipped.
# Usage: need_tools TOOL...
need_tools() {
    local tool package missing=()
    for tool; do
        command -v "$tool" >/dev/null 2>&1 && continue
        case $tool in
            xvfb-run) package=xvfb ;;
            xwininfo) package=x11-utils ;;
            pdfinfo) package=poppler-utils ;;
            xdg-open | xdg-mime) package=xdg-utils ;;
            gio) package=libglib2.0-bin ;;
            nginx) package=nginx-light ;;
            desktop-file-validate) package=desktop-file-utils ;;
            man) package=man-db ;;
            dpkg-deb) package=dpkg ;;
            chroot) package=coreutils ;;
            mount | umount) package=mount ;;
            dpkg-shlibdeps) package=dpkg-dev ;;
            *) package=$tool ;;
        esac
        missing+=("$tool (package $package)")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "FAILED: missing ${missing[*]}; scripts/test.sh installs what scripts/packages.txt lists"
    exit 1
}

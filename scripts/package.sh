#!/usr/bin/env bash
# Builds the Debian package in build-package/ and checks what it ships: the
# program stripped, its dependencies found by dpkg-shlibdeps, the desktop
# entry, the AppStream metadata and the manual page validated.
#   scripts/package.sh            build and check; the package's path on stdout
#   scripts/package.sh --install  also install it with apt-get (root or sudo),
#                                 print a sheet with the installed program
#                                 without a window, and remove it again
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --package

dir=build-package
{
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    cmake --build "$dir" --parallel "$(nproc)" --target Zorvane manpage
    rm -f "$dir"/zorvane_*.deb
    (cd "$dir" && cpack -G DEB)
} >&2
deb=$(ls "$PWD/$dir"/zorvane_*.deb)

fail() { echo "package: $*" >&2; exit 1; }
check() { echo "== $*" >&2; }

check "control fields"
fields=$(dpkg-deb -f "$deb" Version Depends Recommends)
echo "$fields" >&2
grep -q "^Version: $(sed -n 's/^project(Zorvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)$" <<<"$fields" \
    || fail "the version is not the project's"
grep -q "libqt6widgets6" <<<"$fields" || fail "no dependencies from dpkg-shlibdeps"
for r in glabels-data qt6-translations-l10n qt6-wayland; do
    grep -q "^Recommends:.*\b$r\b" <<<"$fields" || fail "does not recommend $r"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

check "stripped program"
# Reopening /dev/stderr would truncate a log file that standard error
# points at, so the description is echoed instead of teed.
kind=$(file "$root/usr/bin/Zorvane")
echo "$kind" >&2
grep -q ', stripped' <<<"$kind" || fail "not stripped"

check "desktop-file-validate"
out=$(desktop-file-validate "$root/usr/share/applications/org.zorvane.Zorvane.desktop" 2>&1) || true
[[ -z "$out" ]] || fail "desktop entry: $out"

check "appstreamcli validate --no-net"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.zorvane.Zorvane.metainfo.xml" >&2 \
    || fail "AppStream metadata"

check "man -l"
page="$root/usr/share/man/man1/Zorvane.1.gz"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man failed"
[[ -z "$warnings" ]] || fail "manual page: $warnings"
LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" | grep -q -- '--print-to' || fail "manual page lacks the options"

if [[ "${1:-}" == "--install" ]]; then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    check "apt-get install $deb"
    $sudo apt-get install -y -q "$deb" </dev/null >&2
    check "installed Zorvane --print-to, without a display"
    sheet="$root/sheet.pdf"
    (
        unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
        export XDG_CONFIG_HOME="$root/config"
        /usr/bin/Zorvane --version >&2
        /usr/bin/Zorvane --print-to "$sheet" --type A --paper A4 --count 4 \
            resources/icons/zorvane-256.png
    ) || fail "the installed program did not print"
    head -c 5 "$sheet" | grep -q '%PDF-' || fail "no PDF written"
    [[ ! -e /usr/bin/devmode.zvn ]] || fail "devmode.zvn in /usr/bin"
    check "apt-get remove zorvane"
    $sudo apt-get remove -y -q zorvane </dev/null >&2
    [[ ! -e /usr/bin/Zorvane ]] || fail "still installed"
fi
echo "$deb"

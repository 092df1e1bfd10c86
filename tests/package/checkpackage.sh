#!/bin/bash
# Builds the Debian package from the build folder (the client must be built)
# and checks that it holds what a workstation and the database server need,
# and that it asks for the runtime the client cannot start without.
set -euo pipefail
build=$1
out=$2
fail() { echo "checkpackage: $*" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$out/cpack.log" 2>&1 \
    || { cat "$out/cpack.log" >&2; fail "cpack failed"; }
debs=("$out"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb in $out"
deb=${debs[0]}

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in \
    ./usr/bin/tabel \
    ./usr/share/applications/kordel-tabel.desktop \
    ./usr/share/icons/hicolor/128x128/apps/kordel-tabel.png \
    ./usr/share/kordel-tabel/schema.sql \
    ./usr/share/kordel-tabel/reserved.sql \
    ./usr/share/kordel-tabel/demo.sql \
    ./usr/share/kordel-tabel/setup-db; do
    grep -qxF "$path" <<<"$contents" || fail "$path is missing from $(basename "$deb")"
done
# No test program or build leftover travels with the client.
if grep -E '/tst_|/bench_|\.a$' <<<"$contents"; then
    fail "test or build files in the package"
fi
dpkg-deb -c "$deb" | grep -E ' \./usr/bin/tabel$' | grep -q '^-rwxr-xr-x' || fail "the client is not executable"
dpkg-deb -c "$deb" | grep -E ' \./usr/share/kordel-tabel/setup-db$' | grep -q '^-rwxr-xr-x' \
    || fail "setup-db is not executable"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6sql6-odbc odbc-postgresql libxlsxwriter4 qt6-qpa-plugins; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

# The menu entry starts the installed client with the installed icon.
work=$out/x
dpkg-deb -x "$deb" "$work"
entry=$work/usr/share/applications/kordel-tabel.desktop
grep -qx 'Exec=tabel' "$entry" || fail "the menu entry does not start tabel"
grep -qx 'Icon=kordel-tabel' "$entry" || fail "the menu entry does not name the icon"
grep -qx 'Type=Application' "$entry" || fail "the menu entry is not an application"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry"
fi
head -c 8 "$work/usr/share/icons/hicolor/128x128/apps/kordel-tabel.png" | od -An -tx1 | grep -q '89 50 4e 47' \
    || fail "the icon is not a PNG"
echo "checkpackage: $(basename "$deb") holds the client, its menu entry, icon and database files"

#!/usr/bin/env bash
# Builds the Debian package into a scratch folder, unpacks it there without installing it, and
# checks what a user would get: the control fields, exactly the expected files, the desktop
# entry and metadata, the icons and man pages, and both programs run from the unpacked tree.
# Usage: package_test.sh CPACK_CONFIG
set -euo pipefail

config=$1
source "$(dirname "$0")/../scripts/xvfb-session.sh"
work=$XVFB_WORK/package
mkdir -p "$work"

fail() {
    echo "package check failed: $*" >&2
    exit 1
}

need() {
    command -v "$1" >/dev/null || fail "$1 is missing: install the Debian package $2"
}
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need Xvfb xvfb
need /usr/bin/identify imagemagick

cpack --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    fail "cpack did not build the package"
}
# The version the build generated from the project's.
version=$(sed -n 's/^#define ARRAYPATTERN_PACKAGE_VERSION "\(.*\)"$/\1/p' \
    "$(dirname "$config")/generated/app/version.h")
[[ -n $version ]] || fail "no package version in the build's generated/app/version.h"
deb=$work/out/arraypattern_${version}_amd64.deb
[[ -f $deb ]] || fail "no $(basename "$deb") among: $(ls "$work/out")"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == arraypattern ]] || fail "Package is $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version is $(field Version)"
[[ $(field Architecture) == amd64 ]] || fail "Architecture is $(field Architecture)"
depends=$(field Depends)
echo "Depends: $depends"
for dependency in qt6-translations-l10n fonts-liberation2 libc6 libqt6widgets6 python3-numpy; do
    [[ ", $depends," == *", $dependency"[\ ,]* ]] || fail "Depends lacks $dependency"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
id=org.arraypattern.ArrayPattern
studio=org.arraypattern.ArrayPatternStudio
expected=(
    usr/bin/arraypattern
    usr/bin/arraypattern-cli
    usr/bin/arraypattern-studio
    usr/lib/python3/dist-packages/arraypattern.cpython-311-x86_64-linux-gnu.so
    usr/lib/python3/dist-packages/arraypattern.pyi
    usr/share/arraypattern/examples/broadside-line-8.txt
    usr/share/arraypattern/examples/broadside-pair.txt
    usr/share/arraypattern/examples/cardioid-verticals-voltage.txt
    usr/share/arraypattern/examples/cardioid.txt
    usr/share/arraypattern/examples/dipole-pair-over-average-ground.txt
    usr/share/arraypattern/examples/dipole-pair-over-ground.txt
    usr/share/arraypattern/examples/end-fire-pair.txt
    usr/share/arraypattern/examples/four-square-monopoles.txt
    usr/share/arraypattern/examples/four-square-over-average-ground.txt
    usr/share/arraypattern/examples/four-square.txt
    usr/share/arraypattern/examples/pair-180-eighth-wave.txt
    usr/share/arraypattern/examples/yagi-2.txt
    "usr/share/applications/$id.desktop"
    "usr/share/applications/$studio.desktop"
    usr/share/doc/arraypattern/copyright
    usr/share/doc/arraypattern/examples/broadside-line-8.txt
    usr/share/doc/arraypattern/examples/broadside-pair.txt
    usr/share/doc/arraypattern/examples/cardioid-verticals-voltage.txt
    usr/share/doc/arraypattern/examples/cardioid.txt
    usr/share/doc/arraypattern/examples/dipole-pair-over-average-ground.txt
    usr/share/doc/arraypattern/examples/dipole-pair-over-ground.txt
    usr/share/doc/arraypattern/examples/end-fire-pair.txt
    usr/share/doc/arraypattern/examples/four-square-monopoles.txt
    usr/share/doc/arraypattern/examples/four-square-over-average-ground.txt
    usr/share/doc/arraypattern/examples/four-square.txt
    usr/share/doc/arraypattern/examples/pair-180-eighth-wave.txt
    usr/share/doc/arraypattern/examples/yagi-2.txt
    "usr/share/icons/hicolor/256x256/apps/$id.png"
    "usr/share/icons/hicolor/48x48/apps/$id.png"
    "usr/share/icons/hicolor/scalable/apps/$id.svg"
    "usr/share/icons/hicolor/256x256/apps/$studio.png"
    "usr/share/icons/hicolor/48x48/apps/$studio.png"
    "usr/share/icons/hicolor/scalable/apps/$studio.svg"
    usr/share/locale/en/LC_MESSAGES/arraypattern.mo
    usr/share/locale/ru/LC_MESSAGES/arraypattern.mo
    usr/share/man/man1/arraypattern-cli.1.gz
    usr/share/man/man1/arraypattern.1.gz
    usr/share/man/man1/arraypattern-studio.1.gz
    "usr/share/metainfo/$id.metainfo.xml"
    "usr/share/metainfo/$studio.metainfo.xml"
)
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f -printf '%P\n' | sort) ||
    fail "the package holds other files than expected (< expected, > packaged)"

desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry"
grep -qx 'Name=Диаграмма направленности антенной решетки' "$root/usr/share/applications/$id.desktop" ||
    fail "the desktop entry's Name is not the window's Russian name"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metadata"
desktop-file-validate "$root/usr/share/applications/$studio.desktop" || fail "the studio's desktop entry"
grep -qx 'Name=Студия антенной решётки' "$root/usr/share/applications/$studio.desktop" ||
    fail "the studio's desktop entry lacks its Russian name"
appstreamcli validate --no-net "$root/usr/share/metainfo/$studio.metainfo.xml" ||
    fail "the studio's metadata"
"$root/usr/bin/arraypattern-studio" --version | grep -q '^arraypattern-studio ' ||
    fail "arraypattern-studio --version"
for side in 48 256; do
    size=$(/usr/bin/identify -format '%wx%h' "$root/usr/share/icons/hicolor/${side}x$side/apps/$id.png")
    [[ $size == "${side}x$side" ]] || fail "the ${side} px icon is $size"
done
zcat "$root/usr/share/man/man1/arraypattern-cli.1.gz" | grep -q 'elevation' ||
    fail "the arraypattern-cli man page lacks its options"
zcat "$root/usr/share/man/man1/arraypattern.1.gz" | grep -q '^\.SH DESCRIPTION' ||
    fail "the arraypattern man page lacks its description"

out=$(cd "$work" && LC_ALL=C "$root/usr/bin/arraypattern-cli" pattern) || fail "arraypattern-cli pattern"
grep -qx 'Максимальное усиление 4.000  (6.02 дБ)' <<<"$out" || fail "unexpected pattern read-outs: $out"
# The unpacked program finds its catalogues beside it, in ../share/locale.
out=$(cd "$work" && LC_ALL=C "$root/usr/bin/arraypattern-cli" --lang ru pattern) ||
    fail "arraypattern-cli --lang ru pattern"
grep -q '^ширина луча: ' <<<"$out" || fail "the packaged Russian catalogue is not used: $out"
(cd "$work" && "$root/usr/bin/arraypattern-cli" export diagram.bmp) || fail "arraypattern-cli export"
[[ $(/usr/bin/identify -format '%wx%h' "$work/diagram.bmp") == 880x880 ]] ||
    fail "the exported picture is not 880 x 880"

# The Python module from the unpacked tree, with the examples where a container keeps them.
[[ ", $depends," == *", python3 (>= 3.11), python3 (<< 3.12),"* ]] ||
    fail "Depends lacks the interpreter's range"
directivity=$(cd "$root/usr/share/arraypattern" &&
    PYTHONPATH=$root/usr/lib/python3/dist-packages /usr/bin/python3 -c \
        "import arraypattern; print(arraypattern.analyse(arraypattern.load('examples/four-square.txt')).directivity_dbi)") ||
    fail "the packaged module does not import and analyse"
[[ $directivity == 7.31776599877767* ]] || fail "the packaged module's directivity is $directivity"
echo "the packaged module: four-square directivity $directivity dBi"

# The unpacked window under a private X server, for one paint: a painted diagram has many
# colours where an unpainted window has one.
StartXvfbSession
StartWindow "$root/usr/bin/arraypattern"
for _ in $(seq 50); do
    /usr/bin/import -window "$WINDOW" "$work/window.png" 2>/dev/null &&
        (($(/usr/bin/identify -format '%k' "$work/window.png") > 8)) && break
    sleep 0.1
done
colours=$(/usr/bin/identify -format '%k' "$work/window.png")
((colours > 8)) || fail "the unpacked window did not paint its diagram ($colours colours)"
echo "the unpacked window painted ($colours colours)"

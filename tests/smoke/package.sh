#!/usr/bin/env bash
# Makes the Debian package of a build with cpack in a scratch folder and checks it without
# installing it: the files a desktop needs are in it, and its control fields name the section,
# the maintainer and the libraries the programs load.
# Usage: package.sh BUILD_DIR
# Exit 77 (skipped) when dpkg-deb or dpkg-shlibdeps is missing.
set -u
source "$(dirname "$(realpath "$0")")/fresh-home.sh"
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v $tool >/dev/null || { echo "$tool missing: package check skipped"; exit 77; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log"; echo "FAIL: cpack"; exit 1; }
debs=("$out"/charvane_1.2_*.deb)
[[ -f ${debs[0]} ]] || { echo "FAIL: no charvane_1.2_*.deb"; exit 1; }
deb=${debs[0]}

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
expected=(
    ./usr/bin/charvane ./usr/bin/charvane-cli
    ./usr/share/applications/charvane.desktop
    ./usr/share/metainfo/io.github.charvane.Charvane.metainfo.xml
    ./usr/share/man/man1/charvane.1.gz ./usr/share/man/man1/charvane-cli.1.gz
    ./usr/share/doc/charvane/copyright
    ./usr/share/charvane/help/index.html
    ./usr/share/icons/hicolor/scalable/apps/charvane.svg
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=(./usr/share/icons/hicolor/${size}x$size/apps/charvane.png)
done
for file in "${expected[@]}"; do
    grep -qx -- "$file" <<<"$contents" || fail "$file is not in the package"
done
stray=$(grep -v -e '^\./usr/bin/' -e '^\./usr/share/' -e '^\./$' -e '^\./usr/$' <<<"$contents")
[[ -z $stray ]] || fail "files outside /usr/bin and /usr/share: $stray"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == charvane ]] || fail "Package: $(field Package)"
[[ $(field Version) == 1.2 ]] || fail "Version: $(field Version)"
[[ $(field Section) == graphics ]] || fail "Section: $(field Section)"
[[ $(field Maintainer) == *"<"*@*">" ]] || fail "Maintainer: $(field Maintainer)"
depends=$(field Depends)
for lib in libsdl2-2.0-0 libjpeg62-turbo libpng16-16 libfreetype6 libfontconfig1 libx11-6 \
    libxext6 zlib1g fonts-liberation; do
    [[ ,$depends, == *[,\ ]$lib[\ ,\(]* ]] || fail "Depends has no $lib: $depends"
done
description=$(field Description)
[[ $(head -n 1 <<<"$description") == "turn pictures into text art" ]] || fail "summary: $description"
bad=$(tail -n +2 <<<"$description" | awk 'length > 80 || !/^ [^ ]/')
[[ -z $bad ]] || fail "description lines too long or indented twice: $bad"

[[ $failures == 0 ]] && echo "package: all good"
exit $((failures != 0))

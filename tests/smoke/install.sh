#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop finds there: both programs
# (they answer --version), a desktop entry and AppStream metadata the validators accept, the
# icon in every size the entry's Icon= names, manual pages that render without warnings, and
# the help page in the data folder, where the installed window's web-page button finds it.
# Usage: install.sh BUILD_DIR
set -u
source "$(dirname "$(realpath "$0")")/fresh-home.sh"
build=$1
prefix=$(realpath "$(mktemp -d)")
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
for program in charvane charvane-cli; do
    [[ -x $prefix/bin/$program ]] || fail "bin/$program is missing"
    out=$(ASAN_OPTIONS=detect_leaks=0 "$prefix/bin/$program" --version 2>&1)
    [[ $out == "$program (Charvane) 1.2" ]] || fail "$program --version said \"$out\""
    page=$prefix/share/man/man1/$program.1.gz
    [[ -f $page ]] || { fail "$page is missing"; continue; }
    warnings=$(MANWIDTH=80 man -l --warnings "$page" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "$program.1: $warnings"
done
entry=$prefix/share/applications/charvane.desktop
if [[ ! -f $entry ]]; then
    fail "the desktop entry is missing"
elif command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate refused $entry"
fi
grep -qx 'MimeType=image/bmp;image/jpeg;image/png;' "$entry" || fail "MimeType"
grep -qx 'Exec=charvane %f' "$entry" || fail "Exec"

metainfo=$prefix/share/metainfo/io.github.charvane.Charvane.metainfo.xml
if [[ ! -f $metainfo ]]; then
    fail "the AppStream metadata is missing"
elif command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli refused $metainfo"
fi

grep -qx 'Icon=charvane' "$entry" || fail "Icon"
for size in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/charvane.png
    [[ -f $icon ]] || { fail "$icon is missing"; continue; }
    if command -v identify >/dev/null; then
        got=$(identify -format '%m %w %h %A' "$icon")
        [[ $got =~ ^PNG\ $size\ $size\ (True|Blend)$ ]] || fail "$icon is \"$got\""
    fi
done
svg=$prefix/share/icons/hicolor/scalable/apps/charvane.svg
[[ -f $svg ]] || fail "the scalable icon is missing"
if [[ -f $svg ]] && command -v python3 >/dev/null; then
    python3 -c 'import sys, xml.dom.minidom as m; m.parse(sys.argv[1])' "$svg" ||
        fail "$svg is not well-formed"
fi

# The installed window opens the installed help page, not the one in the source tree: a stand-in
# xdg-open writes down the address the web-page button hands it.
page=$prefix/share/charvane/help/index.html
[[ -f $page ]] || fail "the help page is missing"
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
    mkdir "$prefix/opener"
    printf '#!/bin/sh\nprintf %%s "$1" >"%s/opened"\n' "$prefix" >"$prefix/opener/xdg-open"
    chmod +x "$prefix/opener/xdg-open"
    PATH=$prefix/opener:$PATH ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1280x1024x24" \
        bash -c '
        "$1/bin/charvane" & pid=$!
        for _ in $(seq 1 150); do
            id=$(xdotool search --onlyvisible --name "^Charvane 1\.2" 2>/dev/null | head -n 1)
            [ -n "$id" ] && break
            sleep 0.2
        done
        sleep 0.5
        # The web-page button: 25 x 25 at (6, 33) of the client area, which starts at (4, 23).
        [ -n "$id" ] && xdotool mousemove --window "$id" 22 68 click 1
        for _ in $(seq 1 50); do [ -s "$1/opened" ] && break; sleep 0.1; done
        kill -TERM $pid; wait $pid' _ "$prefix"
    opened=$(cat "$prefix/opened" 2>/dev/null)
    [[ $opened == "file://$page" ]] || fail "the web-page button opened \"$opened\", not $page"
else
    echo "install: no xvfb-run or xdotool, the web-page button was not tried"
fi

[[ $failures == 0 ]] && echo "install: all good"
exit $((failures != 0))

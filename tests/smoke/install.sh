#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop finds there: both programs
# (they answer --version), a desktop entry the validator accepts, manual pages that render
# without warnings. Usage: install.sh BUILD_DIR
set -u
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
for program in charvane charvane-cli; do
    [[ -x $prefix/bin/$program ]] || fail "bin/$program is missing"
    out=$(ASAN_OPTIONS=detect_leaks=0 "$prefix/bin/$program" --version 2>&1)
    [[ $out == "$program (Charvane) 1.2" ]] || fail "$program --version said \"$out\""
    page=$prefix/share/man/man1/$program.1
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

[[ $failures == 0 ]] && echo "install: all good"
exit $((failures != 0))

#!/usr/bin/env bash
# The two programs' command lines as a shell sees them: --help and --version, malformed
# arguments, and output that cannot be written (a full disk, a full standard output).
# Usage: command-line.sh CHARVANE CHARVANE_CLI SAMPLE_PICTURE
set -u
source "$(dirname "$(realpath "$0")")/fresh-home.sh"
charvane=$1 cli=$2 sample=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS STDOUT-PATTERN STDERR-PATTERN -- COMMAND...
expect() {
    local status=$1 out=$2 err=$3
    shift 4
    local got_out got_err got_status
    got_out=$("$@" 2>/tmp/command-line-err.$$)
    got_status=$?
    got_err=$(cat /tmp/command-line-err.$$)
    rm -f /tmp/command-line-err.$$
    [[ $got_status == "$status" ]] || fail "$*: exit $got_status, expected $status ($got_err)"
    [[ $got_out =~ $out ]] || fail "$*: standard output \"$got_out\" does not match \"$out\""
    [[ $got_err =~ $err ]] || fail "$*: standard error \"$got_err\" does not match \"$err\""
}

for program in "$charvane" "$cli"; do
    name=$(basename "$program")
    expect 0 "^$name \\(Charvane\\) 1\\.2\$" '^$' -- "$program" --version
    expect 0 "^Usage: $name .*--version" '^$' -- "$program" --help
    expect 2 '^$' "^$name: .*Try '$name --help' for more information\\.\$" -- "$program" --frobnicate
done

expect 1 '' '^Cannot write file "/dev/full"\. No space left on device\.$' -- \
    "$cli" --save /dev/full "$sample"
expect 1 '' '^Cannot write to the standard output\.$' -- bash -c '"$0" "$1" >/dev/full' "$cli" "$sample"

[[ $failures == 0 ]] && echo "command lines: all good"
exit $((failures != 0))

#!/usr/bin/env bash
# Runs a command with settings, user skins and caches in a fresh temporary folder, so a smoke run
# neither reads nor changes the user's own (nor what an earlier run left behind).
# Usage: fresh-home.sh COMMAND [ARGUMENT]...
# A smoke script sources this file first instead: it then runs itself again in a fresh home,
# unless it already runs in one.
if [ "${BASH_SOURCE[0]}" != "$0" ]; then
    if [ -z "${CHARVANE_FRESH_HOME:-}" ]; then
        exec bash "${BASH_SOURCE[0]}" bash "$0" "$@"
    fi
    return 0
fi
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
CHARVANE_FRESH_HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_STATE_HOME="$home/state" "$@"

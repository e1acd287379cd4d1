#!/usr/bin/env bash
# Runs a command with settings and user skins in a fresh temporary folder, so a smoke run
# neither reads nor changes the user's own (nor what an earlier run left behind).
# Usage: fresh-home.sh COMMAND [ARGUMENT]...
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" "$@"

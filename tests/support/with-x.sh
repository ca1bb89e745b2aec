#!/usr/bin/env bash
# Runs a command in a private X server (Xvfb), or reports the test as skipped (77)
# where there is none to be had.
command -v xvfb-run >/dev/null 2>&1 || { echo "skipped: xvfb-run is not installed"; exit 77; }
command -v xdotool >/dev/null 2>&1 || { echo "skipped: xdotool is not installed"; exit 77; }
exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" "$@"

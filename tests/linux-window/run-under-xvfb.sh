#!/usr/bin/env bash
# Runs a command under a fresh virtual X server (xvfb-run) with a 24-bit
# screen, kept up (-noreset) while clients come and go: a server that resets
# when its last client leaves refuses the next one for a moment. The server
# number is searched from a random start, so several builds on one machine
# do not race for the same display.
set -euo pipefail
exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$@"

#!/usr/bin/env bash
# Runs a test program on a fresh X server of the given size (WIDTHxHEIGHT) with
# the openbox window manager, which places, stacks and maximises windows as a
# desktop does. Usage: with_window_manager.sh 1366x768 PROGRAM [ARGS...]
set -euo pipefail
size="$1"
shift
exec xvfb-run -a -s "-screen 0 ${size}x24 -noreset" bash -c '
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  # The window manager owns the screen once it answers for the root window.
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
  status=0
  "$@" || status=$?
  kill "$wm" 2>/dev/null || true
  exit "$status"
' with_window_manager "$@"

#!/usr/bin/env bash
# The real game binary in a real X window: the display-settings dialog
# appears with its texts, Enter opens the 800 by 600 game window
# "Kestrava", and a quit (SIGTERM, delivered as the same quit as the close
# box) ends it with status 0. Escape in the dialog exits 0 and never opens
# the game window.
# Usage: dialog_window_e2e.sh path/to/kestrava artifacts-dir
set -u
. "$(dirname "$0")/lib.sh"
begin_e2e "$@"

# 1. Dialog, Enter, game window, quit.
"$GAME" >"$ARTIFACTS/run1.log" 2>&1 &
GAME_PID=$!
dialog=$(wait_window "$is_dialog" "$LIMIT") || fail "no dialog window appeared"
wait_picture "$dialog" "$ARTIFACTS/dialog.png" "$LIMIT" dialog_drawn ||
  fail "the dialog shows no text (dark share $MEASURE)"
echo "dialog: dark share $MEASURE"

type_keys "$dialog" Return
game=$(wait_window "$is_game" "$LIMIT") || fail "Enter did not open an 800x600 Kestrava window"
title=$(xdotool getwindowname "$game")
[[ "$title" == "Kestrava" ]] || fail "the game window is titled '$title'"
game_windows | awk "$is_dialog {found=1} END {exit !found}" && fail "the dialog stayed open"
# A window the game has not drawn into yet is black; its first frame is
# at least the grey it clears to.
wait_picture "$game" "$ARTIFACTS/game-window.png" "$LIMIT" above 0.2 brightness ||
  fail "the game drew nothing into its window (brightness $MEASURE)"

# The limit is not a measure of speed but generous for a busy machine:
# what counts is that the quit ends the game.
kill -TERM "$GAME_PID"
wait_exit "$LIMIT" || fail "the game did not end after the quit"
[[ "$GAME_STATUS" -eq 0 ]] || fail "the game exited with status $GAME_STATUS"
echo "quit: status 0"

# 2. Escape in the dialog: status 0, no game window ever.
"$GAME" >"$ARTIFACTS/run2.log" 2>&1 &
GAME_PID=$!
dialog=$(wait_window "$is_dialog" "$LIMIT") || fail "no dialog window appeared (second run)"
wait_picture "$dialog" "$SCRATCH/dialog.png" "$LIMIT" dialog_drawn || fail "the dialog shows no text (second run)"
type_keys "$dialog" Escape
# Watched until the program has ended: no game window at any time.
deadline=$((SECONDS + LIMIT))
while game_running; do
  game_windows | awk "$is_game {found=1} END {exit !found}" && fail "Escape opened the game window"
  ((SECONDS < deadline)) || fail "Escape in the dialog did not end the program"
  sleep 0.05
done
wait_exit 1
[[ "$GAME_STATUS" -eq 0 ]] || fail "Escape in the dialog exited with status $GAME_STATUS"
echo "escape: status 0, no game window"
echo "PASS"

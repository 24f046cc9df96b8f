#!/usr/bin/env bash
# The real game binary in a real X window: the display-settings dialog
# appears with its texts, Enter opens the 800 by 600 game window
# "Kestrava", and a quit (SIGTERM, delivered as the same quit as the close
# box) ends it with status 0 within 2 seconds. Escape in the dialog exits 0
# and never opens the game window.
# Usage: dialog_window_e2e.sh path/to/kestrava artifacts-dir
set -u
. "$(dirname "$0")/lib.sh"
begin_e2e "$@"

is_dialog='$2 < 700 && $3 < 500'
is_game='$2 == 800 && $3 == 600'

# 1. Dialog, Enter, game window, quit.
"$GAME" >"$ARTIFACTS/run1.log" 2>&1 &
GAME_PID=$!
dialog=$(wait_window "$is_dialog" 15) || fail "no dialog window appeared"
sleep 0.5
shot "$dialog" "$ARTIFACTS/dialog.png"
# The texts are dark on the light dialog: a readable dialog has a few
# percent of dark pixels, an empty or black one has none or all.
dark=$(convert "$ARTIFACTS/dialog.png" -colorspace gray -threshold 35% -negate -format '%[fx:mean]' info:)
awk -v d="$dark" 'BEGIN {exit !(d > 0.005 && d < 0.3)}' ||
  fail "the dialog shows no text (dark share $dark)"
echo "dialog: dark share $dark"

type_keys "$dialog" Return
game=$(wait_window "$is_game" 15) || fail "Enter did not open an 800x600 Kestrava window"
title=$(xdotool getwindowname "$game")
[[ "$title" == "Kestrava" ]] || fail "the game window is titled '$title'"
game_windows | awk "$is_dialog {found=1} END {exit !found}" && fail "the dialog stayed open"
sleep 1
shot "$game" "$ARTIFACTS/game-window.png"

kill -TERM "$GAME_PID"
wait_exit 2 || fail "the game did not end within 2 seconds of the quit"
[[ "$GAME_STATUS" -eq 0 ]] || fail "the game exited with status $GAME_STATUS"
echo "quit: status 0"

# 2. Escape in the dialog: status 0, no game window ever.
"$GAME" >"$ARTIFACTS/run2.log" 2>&1 &
GAME_PID=$!
dialog=$(wait_window "$is_dialog" 15) || fail "no dialog window appeared (second run)"
type_keys "$dialog" Escape
for _ in $(seq 40); do
  game_windows | awk "$is_game {found=1} END {exit !found}" && fail "Escape opened the game window"
  kill -0 "$GAME_PID" 2>/dev/null || break
  sleep 0.05
done
wait_exit 5 || fail "Escape in the dialog did not end the program"
[[ "$GAME_STATUS" -eq 0 ]] || fail "Escape in the dialog exited with status $GAME_STATUS"
echo "escape: status 0, no game window"
echo "PASS"

#!/usr/bin/env bash
# The menu, the instructions and the credits in the real game: Enter in the
# dialog, the menu appears; I shows the instructions, Escape returns; C
# shows the credits, Escape returns; E ends the game with status 0 shortly
# after the item's spin. Screenshots of each screen land in the artifacts.
# Usage: menu_screens_e2e.sh path/to/kestrava artifacts-dir
set -u
. "$(dirname "$0")/lib.sh"
begin_e2e "$@"
need_data

start_game "$ARTIFACTS/menu-run.log"
xdotool windowfocus --sync "$game" 2>/dev/null || xdotool windowfocus "$game"

# The credits roll in from the start: a screen that differs from the menu
# and shows some text.
credits_shown() {
  above 0.1 differs "$ARTIFACTS/menu.png" "$1" && above 0.005 not_grey "$1"
}

# Every item spins before its screen shows (Instructions for 90 frames,
# Credits for 54, a second or so); each wait lasts until the screen is
# there, however slowly the game runs.
wait_picture "$game" "$ARTIFACTS/menu.png" "$LIMIT" menu_steady ||
  fail "the menu did not appear and hold still (not grey: $(not_grey "$ARTIFACTS/menu.png"))"

xdotool key --delay 100 i
wait_picture "$game" "$ARTIFACTS/instructions.png" "$LIMIT" above 0.3 differs "$ARTIFACTS/menu.png" ||
  fail "I did not show the instructions (differs from the menu: $MEASURE)"

xdotool key --delay 100 Escape
wait_picture "$game" "$ARTIFACTS/menu-again.png" "$LIMIT" below 0.1 differs "$ARTIFACTS/menu.png" ||
  fail "Escape did not return to the menu from the instructions (differs from the menu: $MEASURE)"
game_running || fail "Escape on the instructions ended the game"

xdotool key --delay 100 c
wait_picture "$game" "$ARTIFACTS/credits.png" "$LIMIT" credits_shown ||
  fail "C did not show the credits (last measure: $MEASURE)"

xdotool key --delay 100 Escape
wait_picture "$game" "$ARTIFACTS/menu-after-credits.png" "$LIMIT" below 0.1 differs "$ARTIFACTS/menu.png" ||
  fail "Escape did not return to the menu from the credits (differs from the menu: $MEASURE)"

# Exit spins for 44 frames (under a second) before the game ends. The
# limit is not a measure of speed but generous for a busy machine: what
# counts is that the game ends by itself.
xdotool key --delay 100 e
wait_exit "$LIMIT" || fail "E did not end the game"
[[ "$GAME_STATUS" -eq 0 ]] || fail "E ended the game with status $GAME_STATUS"
echo "PASS"

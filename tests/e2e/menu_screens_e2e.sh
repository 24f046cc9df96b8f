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

"$GAME" >"$ARTIFACTS/menu-run.log" 2>&1 &
GAME_PID=$!
dialog=$(wait_window '$2 < 700 && $3 < 500' 15) || fail "no dialog window appeared"
type_keys "$dialog" Return
game=$(wait_window '$2 == 800 && $3 == 600' 15) || fail "no game window appeared"
xdotool windowfocus --sync "$game" 2>/dev/null || xdotool windowfocus "$game"

# Share of the frame that is not the menu's grey background.
not_grey() {
  convert "$1" -fuzz 8% -fill black -opaque 'rgb(128,128,128)' -fill white +opaque black \
    -colorspace gray -format '%[fx:mean]' info:
}
# Share of pixels that differ between two screenshots.
differs() {
  compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1 | awk '{print $1 / (800 * 600)}'
}

sleep 2
shot "$game" "$ARTIFACTS/menu.png"
awk -v s="$(not_grey "$ARTIFACTS/menu.png")" 'BEGIN {exit !(s > 0.1)}' || fail "the menu shows nothing"

xdotool key --delay 100 i
sleep 1.5
shot "$game" "$ARTIFACTS/instructions.png"
awk -v d="$(differs "$ARTIFACTS/menu.png" "$ARTIFACTS/instructions.png")" 'BEGIN {exit !(d > 0.3)}' ||
  fail "I did not show the instructions"

xdotool key --delay 100 Escape
sleep 1
shot "$game" "$ARTIFACTS/menu-again.png"
awk -v d="$(differs "$ARTIFACTS/menu.png" "$ARTIFACTS/menu-again.png")" 'BEGIN {exit !(d < 0.1)}' ||
  fail "Escape did not return to the menu from the instructions"
kill -0 "$GAME_PID" 2>/dev/null || fail "Escape on the instructions ended the game"

xdotool key --delay 100 c
sleep 4
shot "$game" "$ARTIFACTS/credits.png"
awk -v d="$(differs "$ARTIFACTS/menu.png" "$ARTIFACTS/credits.png")" 'BEGIN {exit !(d > 0.1)}' ||
  fail "C did not show the credits"

xdotool key --delay 100 Escape
sleep 1
shot "$game" "$ARTIFACTS/menu-after-credits.png"
awk -v d="$(differs "$ARTIFACTS/menu.png" "$ARTIFACTS/menu-after-credits.png")" 'BEGIN {exit !(d < 0.1)}' ||
  fail "Escape did not return to the menu from the credits"

# Exit spins for 44 frames (under a second) before it fires; the game
# ends within 2 seconds of that.
xdotool key --delay 100 e
wait_exit 3 || fail "E did not end the game within 2 seconds of its spin"
[[ "$GAME_STATUS" -eq 0 ]] || fail "E ended the game with status $GAME_STATUS"
echo "PASS"

#!/usr/bin/env bash
# A flight in the real game binary under Xvfb: the dialog, the menu, S, the
# loading screen, the countdown, a few seconds of flight with Left and Up
# held (the helicopter banks and the landscape moves), Escape back to the
# menu and E to quit with status 0. Screenshots of each stage go to the
# artifacts directory.
# Usage: flight_e2e.sh path/to/kestrava artifacts-dir
set -u
. "$(dirname "$0")/lib.sh"
begin_e2e "$@"
need_data

is_dialog='$2 < 700 && $3 < 500'
is_game='$2 == 800 && $3 == 600'

# Mean absolute difference of two screenshots, 0 to 1.
difference() { compare -metric MAE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/'; }

"$GAME" >"$ARTIFACTS/flight.log" 2>&1 &
GAME_PID=$!
dialog=$(wait_window "$is_dialog" 15) || fail "no dialog window appeared"
sleep 0.5
type_keys "$dialog" Return
game=$(wait_window "$is_game" 15) || fail "no game window"
sleep 1.5
shot "$game" "$ARTIFACTS/flight-menu.png"

type_keys "$game" s
sleep 0.9
shot "$game" "$ARTIFACTS/flight-loading.png"
sleep 1.5
shot "$game" "$ARTIFACTS/flight-countdown.png"
d=$(difference "$ARTIFACTS/flight-menu.png" "$ARTIFACTS/flight-countdown.png")
awk -v d="$d" 'BEGIN {exit !(d > 0.05)}' || fail "the game view looks like the menu (difference $d)"

xdotool keydown Left keydown Up
sleep 6
shot "$game" "$ARTIFACTS/flight-steering.png"
xdotool keyup Left keyup Up
d=$(difference "$ARTIFACTS/flight-countdown.png" "$ARTIFACTS/flight-steering.png")
awk -v d="$d" 'BEGIN {exit !(d > 0.01)}' || fail "nothing moved while steering (difference $d)"
echo "flight: steering changed the view by $d"

type_keys "$game" Escape
sleep 1.5
shot "$game" "$ARTIFACTS/flight-back-to-menu.png"
d=$(difference "$ARTIFACTS/flight-menu.png" "$ARTIFACTS/flight-back-to-menu.png")
awk -v d="$d" 'BEGIN {exit !(d < 0.05)}' || fail "Escape did not return to the menu (difference $d)"

type_keys "$game" e
wait_exit 3 || fail "E did not end the game within 2 seconds of its spin"
[[ "$GAME_STATUS" -eq 0 ]] || fail "the game exited with status $GAME_STATUS"
echo "PASS"

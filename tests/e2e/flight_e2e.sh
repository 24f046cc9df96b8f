#!/usr/bin/env bash
# A flight in the real game binary under Xvfb: the dialog, the menu, S, the
# loading screen, the countdown, flight with Left and Up held (the
# helicopter banks and the landscape moves), P to pause and again to go
# on, a pause by the window losing the focus, Escape back to the menu and E
# to quit with status 0. Screenshots of each stage go to the artifacts
# directory.
# Usage: flight_e2e.sh path/to/kestrava artifacts-dir
set -u
. "$(dirname "$0")/lib.sh"
begin_e2e "$@"
need_data


# Share of the bottom band in the colour of the meters' panel: the game's
# own frames have it, the menu, the loading screen and the frame in which
# loading ends do not.

# The game's sound goes to a file through SDL's disk driver: the mixer's
# output, 44100 stereo frames of 16 bits a second. Its last 50 ms are
# silent (all zero bytes) or not.
SOUND_FILE=$SCRATCH/flight-sound.raw
sound_silent() { [[ $(tail -c 8820 "$SOUND_FILE" 2>/dev/null | tr -d '\0' | wc -c) -eq 0 ]]; }
sound_heard() { [[ -s "$SOUND_FILE" ]] && ! sound_silent; }
# Polls up to $1 seconds for the command after it to succeed.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  while ((SECONDS < deadline)) && game_running; do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
meters_panel() {
  convert "$1" -crop 800x56+0+540 +repage -fuzz 5% -fill white -opaque 'rgb(83,89,97)' \
    -fill black +opaque white -colorspace gray -format '%[fx:mean]' info:
}
# Share of the view (above the panel) in the yellow of the countdown's
# captions, "Ready", "3", "2" and "1"; a few yellow details stay after.
caption_yellow() {
  convert "$1" -crop 800x530+0+0 +repage -fuzz 8% -fill white -opaque 'rgb(248,206,40)' \
    -fill black +opaque white -colorspace gray -format '%[fx:mean]' info:
}

# The loading screen: like the menu drawn on grey, but other than the menu.
loading_shown() {
  above 0.15 differs "$ARTIFACTS/flight-menu.png" "$1" && below 0.5 not_grey "$1"
}
# The game's view: unlike the menu, with the meters' panel.
game_view() {
  above 0.05 difference "$ARTIFACTS/flight-menu.png" "$1" && above 0.5 meters_panel "$1"
}
# A flying game changes every frame (the rotor, the course, the sky); a
# paused one shows the same picture in every frame, with the caption over
# it. Still: two screenshots in a row are alike to the pixel.
still() {
  [[ -n "$PREVIOUS_SHOT" ]] && [[ "$(compare -metric AE "$PREVIOUS_SHOT" "$1" null: 2>&1)" == 0 ]]
}
moving() {
  [[ -n "$PREVIOUS_SHOT" ]] && above 0 differs "$PREVIOUS_SHOT" "$1"
}
# Flight: the countdown's caption is gone and the view has changed since
# the countdown's screenshot.
flying() {
  below 0.01 caption_yellow "$1" && above 0.01 difference "$ARTIFACTS/flight-countdown.png" "$1"
}

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$SOUND_FILE
start_game "$ARTIFACTS/flight.log"
unset SDL_AUDIODRIVER SDL_DISKAUDIOFILE
wait_picture "$game" "$ARTIFACTS/flight-menu.png" "$LIMIT" menu_steady ||
  fail "the menu did not appear and hold still"

# Start Game spins for 67 frames, then the level loads over ten frames,
# the big maps in two of them. The loading screen shows only as long as
# that takes, which on a busy machine may be shorter than a screenshot and
# its measures: screenshots are taken one after the other until the game's
# view is there, and looked through for it afterwards. Missing it is only
# noted: the headless tests follow the loading frame by frame.
rm -f "$ARTIFACTS/flight-loading.png"
type_keys "$game" s
start_burst "$game"
wait_picture "$game" "$ARTIFACTS/flight-countdown.png" "$LIMIT" game_view ||
  fail "S did not lead to the game view (last measure: $MEASURE)"
stop_burst
if first_in_burst "$ARTIFACTS/flight-loading.png" loading_shown; then
  echo "loading: screen shown"
else
  echo "loading: over between two screenshots"
fi
# The countdown runs on the clock for four seconds: a screenshot taken
# slowly on a busy machine may come after it, which is no fault.
if above 0.01 caption_yellow "$ARTIFACTS/flight-countdown.png"; then
  echo "countdown: caption shown"
else
  echo "countdown: already over in the screenshot"
fi

# The course starts moving when the countdown ends; the arrows steer from
# the start. How far the helicopter has slid and banked by the first
# screenshot after the countdown depends on how fast the machine draws.
xdotool keydown Left keydown Up
wait_picture "$game" "$ARTIFACTS/flight-steering.png" "$LIMIT" flying
flew=$?
xdotool keyup Left keyup Up
((flew == 0)) || fail "no flight after the countdown (last measure: $MEASURE)"
echo "flight: steering changed the view by $(difference "$ARTIFACTS/flight-countdown.png" "$ARTIFACTS/flight-steering.png")"

# In flight the rotor is heard; M silences everything, M again brings the
# rotor back. Without SDL's disk driver there is nothing to listen to.
if grep -q "no sound device" "$ARTIFACTS/flight.log"; then
  echo "sound: $(grep "no sound device" "$ARTIFACTS/flight.log") (not checked)"
else
  grep "kestrava: these sounds stay silent" "$ARTIFACTS/flight.log" && fail "sound files were missing"
  wait_until "$LIMIT" sound_heard || fail "no sound in flight"
  type_keys "$game" m
  wait_until "$LIMIT" sound_silent || fail "M did not silence the game"
  type_keys "$game" m
  wait_until "$LIMIT" sound_heard || fail "a second M did not bring the sound back"
  echo "sound: the rotor in flight, silenced by M and back with M ($(wc -c <"$SOUND_FILE") bytes of sound)"
fi
type_keys "$game" p
wait_picture "$game" "$ARTIFACTS/flight-paused.png" "$LIMIT" still || fail "P did not pause the game"
type_keys "$game" p
wait_picture "$game" "$ARTIFACTS/flight-resumed.png" "$LIMIT" moving || fail "P again did not resume the game"
# The focus goes to the root window, as when the player clicks elsewhere.
xdotool windowfocus "$(xwininfo -root | awk '/Window id/ {print $4}')"
wait_picture "$game" "$ARTIFACTS/flight-paused-unfocused.png" "$LIMIT" still ||
  fail "losing the focus did not pause the game"
type_keys "$game" p
wait_picture "$game" "$ARTIFACTS/flight-resumed-focused.png" "$LIMIT" moving ||
  fail "P did not resume the game the focus had left"
echo "pause: by P and by the focus, resumed by P"

type_keys "$game" Escape
wait_picture "$game" "$ARTIFACTS/flight-back-to-menu.png" "$LIMIT" below 0.05 difference "$ARTIFACTS/flight-menu.png" ||
  fail "Escape did not return to the menu (difference $MEASURE)"

# Exit spins for 44 frames (under a second) before the game ends. The
# limit is not a measure of speed but generous for a busy machine: what
# counts is that the game ends by itself.
type_keys "$game" e
wait_exit "$LIMIT" || fail "E did not end the game"
[[ "$GAME_STATUS" -eq 0 ]] || fail "the game exited with status $GAME_STATUS"
echo "PASS"

#!/usr/bin/env bash
# What a player meets when things go wrong, in the real binary:
# - with no display to show itself on, the game says so and exits with
#   status 1 instead of waiting for ever in a dialog nobody sees;
# - with damaged data it still starts, names the damaged files on standard
#   error and in an error box, and goes on drawing while the box is up;
# - a window destroyed by another program, or a connection killed by one,
#   ends the game as a quit, with status 0; so does the dialog destroyed;
# - SIGTERM quits with status 0.
# Usage: release_e2e.sh path/to/kestrava artifacts-dir
set -u
. "$(dirname "$0")/lib.sh"

# No display at all, and a display that is not there: before our Xvfb.
for display in "" ":4711"; do
  log="${2:-/tmp/kestrava-e2e}/release-no-display.log"
  mkdir -p "$(dirname "$log")"
  if [[ -z "$display" ]]; then
    timeout 30 env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$1" >"$log" 2>&1
  else
    timeout 30 env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY="$display" "$1" >"$log" 2>&1
  fi
  status=$?
  [[ $status -eq 1 ]] || { cat "$log"; echo "FAIL: without a display (DISPLAY='$display') the game ended with status $status, not 1"; exit 1; }
  grep -q "No display could be opened" "$log" || { cat "$log"; echo "FAIL: no word of the missing display"; exit 1; }
  [[ -z "$display" ]] || grep -q "DISPLAY is \"$display\"" "$log" || { cat "$log"; echo "FAIL: the display tried is not named"; exit 1; }
  echo "no display ('$display'): status 1 with: $(grep 'No display' "$log" | cut -c1-80)..."
done

begin_e2e "$@"
need_data

changed_since_previous() {
  [[ -n "$PREVIOUS_SHOT" ]] && above 0.0001 differs "$PREVIOUS_SHOT" "$1"
}

# Damaged data: the menu's model cut short and a texture of garbage, in a
# copy of the data directory.
cp -r data "$SCRATCH/data"
size=$(stat -c %s data/main.ASE)
head -c $((size / 2)) data/main.ASE >"$SCRATCH/data/main.ASE"
texture=palette.png # the menu's and the helicopter's colours
head -c 5000 /dev/urandom >"$SCRATCH/data/Textures/$texture"
(cd "$SCRATCH/data" && exec "$GAME" --windowed >"$ARTIFACTS/release-damaged.log" 2>&1) &
GAME_PID=$!
game=$(wait_window "$is_game" "$LIMIT") || fail "no game window with damaged data"
box=
for _ in $(seq $((LIMIT * 10))); do
  box=$(xwininfo -root -tree 2>/dev/null | awk '/"Kestrava: damaged game files"/ {print $1; exit}')
  [[ -n "$box" ]] && break
  sleep 0.1
done
[[ -n "$box" ]] || fail "no error box names the damaged files"
# The game is not held by its box: the menu keeps turning behind it.
wait_picture "$game" "$ARTIFACTS/release-damaged-menu.png" "$LIMIT" changed_since_previous ||
  fail "the game stopped drawing while the error box is up"
grep -q "main.ASE: it ends in the middle of a block" "$ARTIFACTS/release-damaged.log" ||
  fail "standard error does not say that main.ASE is cut short"
grep -q "Textures/$texture: the texture cannot be decoded" "$ARTIFACTS/release-damaged.log" ||
  fail "standard error does not name the garbled texture"
[[ $(grep -c "main.ASE: it ends in the middle of a block" "$ARTIFACTS/release-damaged.log") -eq 1 ]] ||
  fail "main.ASE is reported more than once"
# The reader's own warnings for the file, once too, however often it loads.
[[ $(grep -c "^kestrava: main.ASE: the text ends inside" "$ARTIFACTS/release-damaged.log") -eq 1 ]] ||
  fail "the reader's warnings for main.ASE are not written exactly once"
import -window "$box" "$ARTIFACTS/release-damaged-box.png" 2>/dev/null
kill -TERM "$GAME_PID"
wait_exit "$LIMIT" || fail "SIGTERM did not end the game"
[[ $GAME_STATUS -eq 0 ]] || fail "SIGTERM ended the game with status $GAME_STATUS"
echo "damaged data: named on standard error and in a box; the game drew on; SIGTERM quit with status 0"
xdotool windowkill "$box" 2>/dev/null

# Another program takes the window away: destroys it, or kills our
# connection to the display.
for how in windowclose windowkill; do
  "$GAME" --windowed >"$ARTIFACTS/release-$how.log" 2>&1 &
  GAME_PID=$!
  game=$(wait_window "$is_game" "$LIMIT") || fail "no game window ($how)"
  wait_picture "$game" "$SCRATCH/menu.png" "$LIMIT" menu_steady || fail "no menu ($how)"
  xdotool "$how" "$game"
  wait_exit "$LIMIT" || fail "the game went on after xdotool $how"
  [[ $GAME_STATUS -eq 0 ]] || { cat "$ARTIFACTS/release-$how.log"; fail "xdotool $how ended the game with status $GAME_STATUS"; }
  echo "xdotool $how: the game quit with status 0: $(grep Kestrava: "$ARTIFACTS/release-$how.log" | tail -n1)"
done
# The dialog destroyed the same way: as its close box, no game.
"$GAME" >"$ARTIFACTS/release-dialog-close.log" 2>&1 &
GAME_PID=$!
dialog=$(wait_window "$is_dialog" "$LIMIT") || fail "no dialog window appeared"
wait_picture "$dialog" "$SCRATCH/dialog.png" "$LIMIT" dialog_drawn || fail "the dialog shows no text"
xdotool windowclose "$dialog"
wait_exit "$LIMIT" || fail "the game went on after its dialog was destroyed"
[[ $GAME_STATUS -eq 0 ]] || fail "the destroyed dialog ended the game with status $GAME_STATUS"
echo "xdotool windowclose on the dialog: the game ended with status 0"
echo "PASS"

#!/usr/bin/env bash
# Combat in the real game binary under Xvfb. First the demo player plays
# (kestrava --demo); it tells on standard output what it sees happen, and
# the script photographs it: an enemy hovering and firing beside its health
# bar, a rocket bursting over a base, a damaged base with its health bar,
# and an enemy's crash. Then a game with nobody at the keys: the enemies
# shoot the hero down and the "Mission Failed" caption shows; Escape
# returns to the menu and E ends the game with status 0.
# Usage: combat_e2e.sh path/to/kestrava artifacts-dir
set -u
. "$(dirname "$0")/lib.sh"
begin_e2e "$@"
need_data

# The course takes a minute or two to bring the first enemies and bases,
# and the enemies several more to shoot the hero down; a busy machine draws
# fewer frames a second.
PLAY_LIMIT=400

# Share of the view (between the top of the HUD and the meters' panel) in
# a colour: a health bar's green (0, 255, 0) or red (255, 0, 0), lightly
# fogged, or the fire of an explosion.
view_share() {
  convert "$1" -crop 800x430+0+100 +repage -fx "$2" -format '%[fx:mean]' info:
}
bar_green() { view_share "$1" 'g > 0.75 && r < 0.3 && b < 0.3'; }
bar_red() { view_share "$1" 'r > 0.75 && g < 0.25 && b < 0.25'; }
fire() { view_share "$1" 'r > 0.85 && g > 0.45 && g < 0.95 && b < 0.45'; }
enemy_in_view() { above 0.0002 bar_green "$1" && below 0.0005 fire "$1"; }
# The fuel gauge's blue band: gone once the fuel is down to the lost mark.
fuel_band() {
  convert "$1" -crop 100x10+658+27 +repage -fx 'b > 0.6 && r < 0.2 && g < 0.2' -format '%[fx:mean]' info:
}
# "Mission Failed" in red letters across the middle of the picture.
caption_red() {
  convert "$1" -crop 600x80+100+240 +repage -fx 'r > 0.6 && g < 0.35 && b < 0.35' -format '%[fx:mean]' info:
}

LOG=$ARTIFACTS/combat-demo.log
# Waits up to $2 seconds for the demo to tell a line that matches $1 (the
# $3rd such line, the first by default); prints it.
wait_told() {
  local deadline=$((SECONDS + $2)) nth=${3:-1} line
  while ((SECONDS < deadline)) && game_running; do
    line=$(grep -E "$1" "$LOG" | sed -n "${nth}p")
    if [[ -n "$line" ]]; then
      echo "$line"
      return 0
    fi
    sleep 0.05
  done
  return 1
}

rm -f "$ARTIFACTS"/combat-*.png
start_game "$LOG" --demo
wait_told "a game begins" "$LIMIT" || fail "the demo player did not start a game"

# The bases in turn: a burst of screenshots from the first rocket at a
# base to its destruction holds fire over it, and the base with its health
# bar part red. A burst on a busy machine has few screenshots in it, and
# may miss both: then the next base.
fire_seen=0
bar_seen=0
for nth in 1 2 3 4 5 6; do
  line=$(wait_told "rockets away at base [0-9]+" "$PLAY_LIMIT" "$nth") || fail "no rocket was fired at base number $nth"
  echo "$line"
  base=$(sed -E 's/.*base ([0-9]+).*/\1/' <<<"$line")
  start_burst "$game"
  wait_told "base $base destroyed" "$LIMIT" >/dev/null || fail "base $base was not destroyed"
  sleep 0.5
  stop_burst
  ((fire_seen)) || first_in_burst "$ARTIFACTS/combat-rocket-explosion.png" above 0.0006 fire && fire_seen=1
  ((bar_seen)) || first_in_burst "$ARTIFACTS/combat-damaged-base.png" above 0.0001 bar_red && bar_seen=1
  ((fire_seen && bar_seen)) && break
done
((fire_seen)) || fail "no explosion in the screenshots of six bases' hits"
((bar_seen)) || fail "no health bar with a red part in the screenshots of six bases' hits"

# The first enemy to hover ahead, firing, beside its health bar, before a
# bullet bursts beside it.
wait_told "enemy [0-9]+ hovers ahead" "$PLAY_LIMIT" || fail "no enemy came down to fight"
wait_picture "$game" "$ARTIFACTS/combat-enemy-firing.png" "$LIMIT" enemy_in_view ||
  fail "no health bar beside the enemy (green share $MEASURE)"

# An enemy brought down in the middle of the picture falls apart there for
# a second or so, then is gone.
for nth in 1 2 3 4 5 6 7 8 9 10 11; do
  line=$(wait_told "enemy [0-9]+ down" "$PLAY_LIMIT" "$nth") || fail "no enemy was brought down in view"
  read -r enemy x y < <(sed -E 's/.*enemy ([0-9]+) down, at (-?[0-9]+) (-?[0-9]+).*/\1 \2 \3/' <<<"$line")
  ((x > 150 && x < 650 && y > 150 && y < 450)) || continue
  echo "$line"
  # Screenshots through the fall: the middle one shows it falling apart.
  # A busy machine may take only one or two in the second it lasts (the
  # last cut short when the burst stops); the one at its start serves then.
  shot "$game" "$SCRATCH/fall-start.png" || fail "no screenshot of enemy $enemy's fall"
  start_burst "$game"
  wait_told "enemy $enemy has crashed" "$LIMIT" >/dev/null || fail "enemy $enemy's crash did not end"
  stop_burst
  shots=0
  while [[ -f "$SCRATCH/burst/$((shots + 1)).png" ]]; do shots=$((shots + 1)); done
  if ((shots >= 2)); then
    convert "$SCRATCH/burst/$((shots / 2)).png" "$ARTIFACTS/combat-crash.png"
  else
    cp "$SCRATCH/fall-start.png" "$ARTIFACTS/combat-crash.png"
  fi
  break
done
[[ -f "$ARTIFACTS/combat-crash.png" ]] || fail "no enemy came down in the middle of the picture"
kill -TERM "$GAME_PID"
wait_exit "$LIMIT" || fail "the demo did not end on SIGTERM"
[[ "$GAME_STATUS" -eq 0 ]] || fail "the demo exited with status $GAME_STATUS on SIGTERM"
echo "demo: $(grep -c ' hit' "$LOG") hits told"

# Nobody at the keys: shot down.
start_game "$ARTIFACTS/combat-passive.log"
wait_picture "$game" "$SCRATCH/menu.png" "$LIMIT" menu_steady || fail "the menu did not appear"
type_keys "$game" s
wait_picture "$game" "$ARTIFACTS/combat-lost.png" "$PLAY_LIMIT" above 0.08 caption_red ||
  fail "no Mission Failed caption (red share $MEASURE)"
# The enemies take the lives in some 4,500 frames, while the fuel drains by
# the clock: a machine that draws fewer than about 18 frames a second runs
# out of fuel first. The headless tests play it frame by frame.
if above 0.05 fuel_band "$ARTIFACTS/combat-lost.png"; then
  echo "lost: the enemies took the lives"
else
  echo "lost: the fuel ran out first (this machine draws slowly)"
fi
type_keys "$game" Escape
wait_picture "$game" "$SCRATCH/menu-again.png" "$LIMIT" menu_steady || fail "Escape did not return to the menu"
type_keys "$game" e
wait_exit "$LIMIT" || fail "E did not end the game"
[[ "$GAME_STATUS" -eq 0 ]] || fail "the game exited with status $GAME_STATUS"
echo "PASS"

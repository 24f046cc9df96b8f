# Shared helpers of the end-to-end scripts: a private Xvfb, the game's
# windows found by title and size, screenshots and measures of them.
#
# No script waits a fixed time for the game: each polls for the state it
# needs (a window, a picture, the process gone) up to LIMIT seconds. The
# limit is generous so that a busy machine passes; on an idle one a wait
# ends as soon as its state is there.
LIMIT=30

# The start of every script: the game binary ($1) and the artifacts folder
# ($2), the tools, a private Xvfb, and the build tree as the current
# directory.
begin_e2e() {
  GAME=$1
  ARTIFACTS=${2:-/tmp/kestrava-e2e}
  mkdir -p "$ARTIFACTS"
  need_tools
  SCRATCH=$(mktemp -d)
  # A configuration of our own: the dialog offers what was last chosen in
  # it, and the developer's own choice must not change the test.
  export XDG_CONFIG_HOME="$SCRATCH/config"
  sanitizer_logs
  start_xvfb 1280x1024x24
  cd "$(dirname "$GAME")" || exit 1
}

# In a sanitizer build (scripts/sanitize.sh) the game writes its reports to
# files beside the artifacts instead of its output; the script's end fails
# on any of them (check_sanitizer_logs), whatever status the game exited
# with and whether or not a step looked at it. Programs without a
# sanitizer runtime (Xvfb, xdotool, ImageMagick) ignore the options.
sanitizer_logs() {
  SANITIZER_LOG="$ARTIFACTS/sanitizer-$(basename "$0" .sh)"
  rm -f "$SANITIZER_LOG".*
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}log_path=$SANITIZER_LOG"
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}log_path=$SANITIZER_LOG"
}

# Fails when a sanitizer has reported in any process the script started. A
# log that holds only the list of suppressions used is no report.
check_sanitizer_logs() {
  local log reported=0
  for log in "${SANITIZER_LOG:-/nonexistent}".*; do
    [[ -f "$log" ]] || continue
    if grep -qE 'Sanitizer|runtime error' "$log"; then
      echo "FAIL: a sanitizer reported in process ${log##*.} ($log):"
      cat "$log"
      reported=1
    fi
  done
  return $reported
}

need_data() {
  [[ -f data/main.ASE ]] || { echo "SKIP: the build has not generated the game data"; exit 77; }
}

need_tools() {
  local missing=()
  for tool in Xvfb xdotool import convert compare identify xwininfo; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  if ((${#missing[@]})); then
    echo "SKIP: end-to-end tests need ${missing[*]} (scripts/install-deps.sh installs them)"
    exit 77
  fi
}

# Starts Xvfb on a free display number and exports DISPLAY. Without
# -noreset the server resets whenever its last client (a window search, a
# screenshot) leaves, and a client connecting just then can be refused.
# Where no X display answers, SDL would fall back to its offscreen driver
# and the game would sit in a dialog nobody sees; with the x11 driver
# alone it reports the failure and exits.
start_xvfb() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp -noreset 3>"$fdfile" 2>/dev/null &
  XVFB_PID=$!
  trap stop_all EXIT
  for _ in $(seq $((LIMIT * 10))); do
    [[ -s "$fdfile" ]] && break
    sleep 0.1
  done
  if [[ ! -s "$fdfile" ]]; then
    rm -f "$fdfile"
    fail "Xvfb did not start"
  fi
  export DISPLAY=":$(head -n1 "$fdfile")"
  export SDL_VIDEODRIVER=x11
  rm -f "$fdfile"
}

# The end of every script (its EXIT trap): what it started is stopped, and
# a sanitizer report of the game turns a pass into a failure.
stop_all() {
  [[ -n "${BURST_PID:-}" ]] && kill "$BURST_PID" 2>/dev/null
  [[ -n "${GAME_PID:-}" ]] && kill -9 "$GAME_PID" 2>/dev/null
  [[ -n "${XVFB_PID:-}" ]] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  [[ -n "${SCRATCH:-}" ]] && rm -rf "$SCRATCH"
  check_sanitizer_logs || exit 1
  return 0
}

# Prints "id width height" of each visible window titled Kestrava.
game_windows() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Kestrava$' 2>/dev/null); do
    local geometry
    geometry=$(xwininfo -id "$id" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
    echo "$id $geometry"
  done
}

# Waits up to $2 seconds for a Kestrava window whose size matches the
# awk condition $1 (on $2 = width, $3 = height); prints its id. A game
# that has ended ends the wait at once.
wait_window() {
  local condition=$1 seconds=$2 id
  local deadline=$((SECONDS + seconds))
  while game_running; do
    id=$(game_windows | awk "$condition {print \$1; exit}")
    if [[ -n "$id" ]]; then
      echo "$id"
      return 0
    fi
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
  return 1
}

# The game's two windows, told apart by size (awk conditions on $2 = width,
# $3 = height, for wait_window).
is_dialog='$2 < 700 && $3 < 500'
is_game='$2 == 800 && $3 == 600'

# Starts the game with the arguments after $1, its output going to the log
# $1, answers the display-settings dialog with Enter once it is drawn, and
# waits for the game window: sets GAME_PID and game.
start_game() {
  local log=$1 dialog
  shift
  "$GAME" "$@" >"$log" 2>&1 &
  GAME_PID=$!
  dialog=$(wait_window "$is_dialog" "$LIMIT") || fail "no dialog window appeared"
  wait_picture "$dialog" "$SCRATCH/dialog.png" "$LIMIT" dialog_drawn || fail "the dialog shows no text"
  type_keys "$dialog" Return
  game=$(wait_window "$is_game" "$LIMIT") || fail "no game window appeared"
}

# Whether the game process is still running. An exited child stays a
# zombie (state Z) until it is waited for.
game_running() {
  kill -0 "$GAME_PID" 2>/dev/null &&
    [[ "$(awk '{print $3}' "/proc/$GAME_PID/stat" 2>/dev/null)" != Z ]]
}

# Waits up to $1 seconds for the game to exit; sets GAME_STATUS.
wait_exit() {
  local seconds=$1
  for _ in $(seq $((seconds * 20))); do
    if ! game_running; then
      wait "$GAME_PID"
      GAME_STATUS=$?
      GAME_PID=
      return 0
    fi
    sleep 0.05
  done
  return 1
}

# Gives the window the keyboard focus (there is no window manager) and
# types keys into it.
type_keys() {
  local id=$1
  shift
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  sleep 0.2
  xdotool key --delay 120 "$@"
}

# A screenshot of window $1 into $2. Of a window that is gone, import
# reports the error and then waits for ever: it is given 20 seconds, far
# more than a screenshot takes on a busy machine.
shot() {
  timeout 20 import -window "$1" "$2"
}

# Screenshots window $1 into $2 until a condition holds for the picture, or
# for at most $3 seconds; returns whether it held. The condition is the
# rest of the arguments, a command that gets the picture as its last
# argument; PREVIOUS_SHOT names the screenshot before it (empty on the
# first), for conditions that need the picture to hold still. The last
# screenshot stays in $2 either way, to look at after a failure. A game
# that has ended ends the wait at once. How long each wait took is logged,
# to show how close a busy machine came to the limit.
wait_picture() {
  local window=$1 out=$2 seconds=$3
  shift 3
  local start=$SECONDS deadline=$((SECONDS + seconds)) previous="$SCRATCH/previous.png"
  rm -f "$previous"
  PREVIOUS_SHOT=
  while game_running; do
    rm -f "$out"
    if shot "$window" "$out" 2>/dev/null && "$@" "$out"; then
      echo "$(basename "$out"): after $((SECONDS - start)) s"
      return 0
    fi
    ((SECONDS < deadline)) || return 1
    [[ -f "$out" ]] && cp "$out" "$previous" && PREVIOUS_SHOT=$previous
    sleep 0.1
  done
  return 1
}

# For a screen that shows only briefly, which a wait_picture, measuring
# between its screenshots, may miss on a busy machine: start_burst takes
# screenshots of window $1 one after the other in the background until
# stop_burst; "first_in_burst OUT CONDITION..." then copies the first of
# them for which the condition holds to OUT, and returns whether there was
# one.
start_burst() {
  local window=$1
  rm -rf "$SCRATCH/burst"
  mkdir "$SCRATCH/burst"
  (
    n=0
    while shot "$window" "$SCRATCH/burst/$n.png" 2>/dev/null; do
      n=$((n + 1))
    done
  ) &
  BURST_PID=$!
}
stop_burst() {
  kill "$BURST_PID" 2>/dev/null
  wait "$BURST_PID" 2>/dev/null
  BURST_PID=
}
first_in_burst() {
  local out=$1 n=0
  shift
  # A screenshot cut short by stop_burst measures nothing and never holds.
  while [[ -f "$SCRATCH/burst/$n.png" ]]; do
    if "$@" "$SCRATCH/burst/$n.png"; then
      cp "$SCRATCH/burst/$n.png" "$out"
      return 0
    fi
    n=$((n + 1))
  done
  return 1
}

# Conditions on a measure: "above LIMIT MEASURE ARGS..." holds when the
# measure (a command that prints a number) is above LIMIT, "below" when it
# is below, "between LOW HIGH MEASURE ARGS..." when it is strictly between.
# They leave the measured value in MEASURE for messages; a measure that
# prints no number never holds.
above() {
  local limit=$1
  shift
  measure "$@" && awk -v m="$MEASURE" -v l="$limit" 'BEGIN {exit !(m > l)}'
}
below() {
  local limit=$1
  shift
  measure "$@" && awk -v m="$MEASURE" -v l="$limit" 'BEGIN {exit !(m < l)}'
}
between() {
  local low=$1 high=$2
  shift 2
  measure "$@" && awk -v m="$MEASURE" -v lo="$low" -v hi="$high" 'BEGIN {exit !(m > lo && m < hi)}'
}
measure() {
  MEASURE=$("$@" 2>/dev/null)
  [[ "$MEASURE" =~ ^[0-9]*\.?[0-9]+(e[-+]?[0-9]+)?$ ]]
}

# Measures of screenshots, each printing a number from 0 to 1.

# Mean brightness.
brightness() {
  convert "$1" -colorspace gray -format '%[fx:mean]' info:
}

# Share of dark pixels: the dialog's texts are dark on a light ground.
dark_share() {
  convert "$1" -colorspace gray -threshold 35% -negate -format '%[fx:mean]' info:
}

# Share of the picture that is not the grey (128, 128, 128) that the menu,
# the instructions, the credits and the loading screen are drawn on.
not_grey() {
  convert "$1" -fuzz 8% -fill black -opaque 'rgb(128,128,128)' -fill white +opaque black \
    -colorspace gray -format '%[fx:mean]' info:
}

# Share of the pixels that differ between two screenshots.
differs() {
  local out
  out=$(compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1)
  # 0: alike, 1: different, 2: an error (a missing picture).
  (($? < 2)) || return 1
  awk -v n="${out%% *}" -v size="$(identify -format '%[fx:w*h]' "$2")" 'BEGIN {print n / size}'
}

# Mean absolute difference of two screenshots.
difference() {
  local out
  out=$(compare -metric MAE "$1" "$2" null: 2>&1)
  (($? < 2)) || return 1
  sed 's/.*(\(.*\))/\1/' <<<"$out"
}

# Conditions on screenshots, for wait_picture.

# The dialog has drawn its texts: a readable dialog has a few percent of
# dark pixels, an empty or black one has none or all.
dialog_drawn() {
  between 0.005 0.3 dark_share "$1"
}

# The menu is on the screen and holds still: a tenth to a half of it is
# not grey (the title, the helicopter, the items; a window the game has
# not drawn into yet is black), and under a tenth of it differs from the
# screenshot before (only the rotor turns, the helicopter bobs and points
# fall). A reference picture of the menu is taken this way, so that the
# menu met again later looks like it.
menu_steady() {
  between 0.1 0.5 not_grey "$1" &&
    [[ -n "$PREVIOUS_SHOT" ]] && below 0.1 differs "$PREVIOUS_SHOT" "$1"
}

# A failing script keeps its last burst of screenshots to look at.
fail() {
  echo "FAIL: $*"
  if [[ -n "${GAME_PID:-}" ]] && ! game_running; then
    echo "(the game has exited; its output is in the artifacts' log)"
  fi
  [[ -d "${SCRATCH:-}/burst" ]] && rm -rf "$ARTIFACTS/failed-burst" && cp -r "$SCRATCH/burst" "$ARTIFACTS/failed-burst"
  exit 1
}

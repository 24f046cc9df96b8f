# Shared helpers of the end-to-end scripts: a private Xvfb, the game's
# windows found by title and size, screenshots.

# The start of every script: the game binary ($1) and the artifacts folder
# ($2), the tools, a private Xvfb, and the build tree as the current
# directory.
begin_e2e() {
  GAME=$1
  ARTIFACTS=${2:-/tmp/kestrava-e2e}
  mkdir -p "$ARTIFACTS"
  need_tools
  start_xvfb 1280x1024x24
  cd "$(dirname "$GAME")" || exit 1
}

need_data() {
  [[ -f data/main.ASE ]] || { echo "SKIP: the build has not generated the game data"; exit 77; }
}

need_tools() {
  local missing=()
  for tool in Xvfb xdotool import convert xwininfo; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  if ((${#missing[@]})); then
    echo "SKIP: end-to-end tests need ${missing[*]} (scripts/install-deps.sh installs them)"
    exit 77
  fi
}

# Starts Xvfb on a free display number and exports DISPLAY.
start_xvfb() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp 3>"$fdfile" 2>/dev/null &
  XVFB_PID=$!
  for _ in $(seq 50); do
    [[ -s "$fdfile" ]] && break
    sleep 0.1
  done
  if [[ ! -s "$fdfile" ]]; then
    echo "FAIL: Xvfb did not start"
    exit 1
  fi
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
  trap stop_all EXIT
}

stop_all() {
  [[ -n "${GAME_PID:-}" ]] && kill -9 "$GAME_PID" 2>/dev/null
  [[ -n "${XVFB_PID:-}" ]] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
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
# awk condition $1 (on $2 = width, $3 = height); prints its id.
wait_window() {
  local condition=$1 seconds=$2 id
  for _ in $(seq $((seconds * 10))); do
    id=$(game_windows | awk "$condition {print \$1; exit}")
    if [[ -n "$id" ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Waits up to $1 seconds for the game to exit; sets GAME_STATUS.
wait_exit() {
  local seconds=$1
  for _ in $(seq $((seconds * 20))); do
    # An exited child stays a zombie (state Z) until it is waited for.
    if ! kill -0 "$GAME_PID" 2>/dev/null ||
      [[ "$(awk '{print $3}' "/proc/$GAME_PID/stat" 2>/dev/null)" == Z ]]; then
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

shot() {
  import -window "$1" "$2"
}

fail() {
  echo "FAIL: $*"
  exit 1
}

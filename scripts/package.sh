#!/usr/bin/env bash
# Builds the Debian package in build-package/ (or $KESTRAVA_PACKAGE_DIR) and
# checks it as a player gets it: the metainfo and the desktop entry pass
# their validators, the package unpacks into a root of its own with its
# icons, manual page and a stripped game, and the game in that root checks
# its data, opens its window under a private Xvfb, draws its menu, and ends
# with status 0 on SIGTERM. The listing, the game's log and a screenshot
# land in build-package/package-artifacts/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTRAVA_PACKAGE_DIR:-$root/build-package}
artifacts=$build/package-artifacts
"$root/scripts/install-deps.sh"

# A release build without the test suite: modelshot, which renders the
# icons, brings the headless platform it needs on its own. The package
# depends on the distribution's DejaVu fonts instead of carrying a copy.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_INSTALL_PREFIX=/usr -DKESTRAVA_BUILD_TESTS=OFF -DKESTRAVA_INSTALL_FONT=OFF >/dev/null
cmake --build "$build" -j 2 --target kestrava assetgen_data kestrava_icons kestrava_man
rm -f "$build"/*.deb "$build"/*.ddeb
(cd "$build" && cpack)
deb=$(ls "$build"/kestrava_*.deb)
rm -rf "$artifacts"
mkdir -p "$artifacts"

problems=0
problem() {
  echo "PROBLEM: $*"
  problems=$((problems + 1))
}

echo "== $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Section Depends Homepage
# Whether Depends names the package $1 (alone or in an alternative).
depends_on() {
  dpkg-deb --field "$deb" Depends | tr ',|' '\n' | awk -v name="$1" '$1 == name {found = 1} END {exit !found}'
}
depends_on fonts-dejavu-core || problem "Depends lacks fonts-dejavu-core"
depends_on libgl1 || problem "Depends lacks libgl1"
depends_on libsdl2-2.0-0 || problem "Depends lacks the libraries dpkg-shlibdeps finds"
depends_on libsdl2-mixer-2.0-0 || problem "Depends lacks the sound mixer"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg -x "$deb" "$unpacked"
echo "== the installed tree"
(cd "$unpacked" && find . | sort) | tee "$artifacts/tree.txt"

echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/org.kestrava.Kestrava.metainfo.xml" ||
  problem "the metainfo does not validate"
echo "== desktop-file-validate"
if desktop-file-validate "$unpacked/usr/share/applications/org.kestrava.Kestrava.desktop"; then
  echo "(no messages)"
else
  problem "the desktop entry does not validate"
fi
echo "== the manual page"
lint=$(mandoc -Tlint "$unpacked/usr/share/man/man6/kestrava.6.gz" 2>&1) || true
[[ -z "$lint" ]] || problem "mandoc -Tlint: $lint"
warnings=$(zcat "$unpacked/usr/share/man/man6/kestrava.6.gz" | groff -man -Tutf8 -ww 2>&1 >/dev/null)
[[ -z "$warnings" ]] || problem "groff: $warnings"
page=$(man -l "$unpacked/usr/share/man/man6/kestrava.6.gz" 2>/dev/null || true)
[[ "$page" == *"KESTRAVA(6)"* ]] || problem "man does not show the page"

game=$unpacked/usr/bin/kestrava
kind=$(file -b "$game")
[[ "$kind" == *", stripped"* ]] || problem "the game is not stripped: $kind"
[[ -z "$(find "$unpacked" -name DejaVuSans.ttf)" ]] || problem "the package carries a copy of DejaVu Sans"
for size in 16 22 24 32 48 64 128 256 512; do
  icon=$unpacked/usr/share/icons/hicolor/${size}x${size}/apps/kestrava.png
  [[ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" == "${size}x${size}" ]] ||
    problem "no ${size}x${size} icon"
done
ddeb=$(ls "$build"/kestrava-dbgsym_*.ddeb 2>/dev/null || true)
if [[ -n "$ddeb" ]]; then
  echo "== $(basename "$ddeb")"
  debug_files=$(dpkg-deb --contents "$ddeb" | awk '$NF ~ /\.debug$/ {print $NF}')
  if [[ -n "$debug_files" ]]; then
    echo "$debug_files"
  else
    problem "the debug package holds no debug file"
  fi
else
  problem "no kestrava-dbgsym package"
fi

# The game as installed: run from a directory of its own, so that it finds
# its data from where it is installed, with its settings kept there too.
echo "== kestrava --check-data"
home=$(mktemp -d)
trap 'rm -rf "$unpacked" "$home"' EXIT
cd "$home"
export XDG_CONFIG_HOME=$home/config
if "$game" --check-data; then
  echo "(no problems)"
else
  problem "kestrava --check-data exited with $?"
fi

echo "== kestrava --windowed under Xvfb"
# The end-to-end helpers: a private Xvfb, windows found by title and size,
# pictures polled for.
source "$root/tests/e2e/lib.sh"
GAME=$game
ARTIFACTS=$artifacts
need_tools
SCRATCH=$(mktemp -d)
start_xvfb 1280x1024x24
trap 'stop_all; rm -rf "$unpacked" "$home"' EXIT
# The menu is drawn: part of the picture is not the grey it is drawn on,
# where a window the game has not drawn into yet is black all over.
menu_drawn() {
  between 0.05 0.6 not_grey "$1"
}
"$GAME" --windowed >"$artifacts/game.log" 2>&1 &
GAME_PID=$!
window=$(wait_window "$is_game" "$LIMIT") || fail "no game window appeared (see $artifacts/game.log)"
wait_picture "$window" "$artifacts/menu.png" "$LIMIT" menu_drawn ||
  fail "the game window shows no menu (see $artifacts/menu.png)"
kill -TERM "$GAME_PID"
wait_exit "$LIMIT" || fail "the game did not end on SIGTERM"
((GAME_STATUS == 0)) || problem "the game ended with status $GAME_STATUS on SIGTERM"
echo "the game drew its menu and ended with status $GAME_STATUS on SIGTERM"

if ((problems)); then
  echo "FAIL: $problems problems with $(basename "$deb")"
  exit 1
fi
echo "package: $(basename "$deb") passed every check"

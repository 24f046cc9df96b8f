#!/usr/bin/env bash
# Renders the gallery of the game's data with modelshot and writes
# docs/gallery.md. Usage: docs/make-gallery.sh [build dir] (default: build).
# The build must have run (it writes the data directory and modelshot).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../build}" && pwd)"
shot="$build/modelshot"
data="$build/data"
out="$here/gallery"
mkdir -p "$out"
[[ -x "$shot" ]] || { echo "make-gallery: $shot not built" >&2; exit 1; }

page="$here/gallery.md"
{
  echo "# Kestrava data gallery"
  echo
  echo "Every picture is rendered headless by \`tools/modelshot\` through the game's own"
  echo "reader and drawing code, under the placement, projection, fog and light the"
  echo "game uses for that file. Regenerate with \`docs/make-gallery.sh <build dir>\`."
  echo
} > "$page"

# name | view | argument | caption
while IFS='|' read -r name view arg caption; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  "$shot" "$data" "$view" "$out/$name.png" "$arg"
  printf '### %s\n\n![%s](gallery/%s.png)\n\n' "$caption" "$name" "$name" >> "$page"
done <<'VIEWS'
menu|menu||main.ASE with HeroHeli.ASE: the main menu as it first appears
heli|orbit|HeroHeli.ASE,35,18|HeroHeli.ASE close up (nodes HeliBody and HeliRotor)
loading|loading|1.2|Loading.ASE with the bar at 1.2 of its 2.1
instructions|instructions||Instructions.ASE
credits-start|credits|-130|Credits0-3.ASE at the start of the roll
credits-middle|credits|0|Credits0-3.ASE half way
credits-end|credits|130|Credits0-3.ASE at rest
hud|hud||fuel.ASE, lives.ASE and HeliMeters.ASE in the HUD, with the hero where the game draws it
ready|caption|Ready.ASE,100|Ready.ASE
three|caption|NumberThree.ASE,100|NumberThree.ASE
two|caption|NumberTwo.ASE,100|NumberTwo.ASE
one|caption|NumberOne.ASE,100|NumberOne.ASE
won|caption|Winning.ASE,150|Winning.ASE
lost|caption|Loosing.ASE,150|Loosing.ASE
paused|caption|Paused.ASE,150|Paused.ASE
base|orbit|MilitaryBase.ASE,30,35|MilitaryBase.ASE (intact; the rockets' collision mesh)
base-damaged|orbit|MilitaryBase1.ASE,30,35|MilitaryBase1.ASE (damaged)
base-wreck|orbit|MilitaryBase2.ASE,30,35|MilitaryBase2.ASE (wreck)
bullet|orbit|bullet.ASE,60,15|bullet.ASE
rocket|orbit|Rocket.ASE,60,15|Rocket.ASE
explosion|orbit|explosion.ASE,20,15|explosion.ASE
crash-start|crash|0|DestroyHeli(1).ASE before its first key
crash-middle|crash|35|DestroyHeli(1).ASE after 35 frames
crash-end|crash|74|DestroyHeli(1).ASE at its last frame
airplane|orbit|Airplane0.ASE,40,25|Airplane0.ASE (loaded, never drawn)
game-start|game|1|The course's first record: map1, map2, road, Sky and the bases
game-valley|game|2600|Record 2600: the first enemies' stretch
game-bases|game|5400|Record 5400: bases 4 and 5
game-north|game|13000|Record 13000
game-plateau|game|17900|Record 17900: climbing past the plateau to base 15
level-map|map||The level from above: ground by height, road, course (yellow) with heading ticks, bases in reach (blue) and out of reach (grey), enemy spawns (red), the goal (green)
VIEWS
# The fight as the real game shows it: screenshots the combat end-to-end
# test takes of the demo player (build/tests/e2e-artifacts), copied to
# docs/screenshots when they are taken anew.
artifacts="$build/tests/e2e-artifacts"
for name in enemy-firing rocket-explosion damaged-base crash lost; do
  [[ -f "$artifacts/combat-$name.png" ]] && cp "$artifacts/combat-$name.png" "$here/screenshots/combat-$name.png"
done
{
  echo "## In the game"
  echo
  echo "Screenshots of the real game under Xvfb, taken by \`tests/e2e/combat_e2e.sh\` while"
  echo "\`kestrava --demo\` plays, and of a game with nobody at the keys."
  echo
} >> "$page"
while IFS='|' read -r name caption; do
  [[ -f "$here/screenshots/combat-$name.png" ]] || continue
  printf '### %s\n\n![%s](screenshots/combat-%s.png)\n\n' "$caption" "$name" "$name" >> "$page"
done <<'SHOTS'
enemy-firing|An enemy hovering to fire, its health bar beside it
rocket-explosion|A rocket bursting over a base
damaged-base|A base in its damaged look, its health bar above it
crash|An enemy's crash
lost|Shot down: the lives are gone and the Mission Failed caption shows
SHOTS
echo "make-gallery: wrote $page"

#!/usr/bin/env bash
# Installs, from the distribution's packages, everything Kestrava needs to
# build, play, test, benchmark, fuzz and package. Packages already present
# are skipped, so a second run costs a few dpkg look-ups and nothing else.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  # window, input, clock, dialog text, texture decoding, sound
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev libfreetype-dev fonts-dejavu-core libx11-dev
  # the model reader's number conversion
  libfast-float-dev
  # OpenGL 1.x, GLU and the headless software context for tests
  libgl1-mesa-dev libglu1-mesa-dev libosmesa6-dev
  # tests and benchmarks
  googletest libgtest-dev libbenchmark-dev libassimp-dev
  # the decimal-comma locale the number tests build with localedef
  locales
  # real-window end-to-end tests
  xvfb xdotool imagemagick x11-utils
  # the core X fonts the error boxes are written in (Xvfb has none of its own)
  xfonts-base
  # the Debian package and its checks (scripts/package.sh)
  dpkg-dev file appstream desktop-file-utils mandoc man-db groff-base
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  echo "install-deps: everything is installed"
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "install-deps: done"

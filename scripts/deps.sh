#!/usr/bin/env bash
# Installs the Debian packages Ashfallow needs. The one list of them, in two groups:
#   scripts/deps.sh play         what building and playing the game needs
#   scripts/deps.sh [test]       that and what the tests, benchmarks, fuzzing and packaging add
#   scripts/deps.sh web [PKG...] that, the browser's toolchain and a browser to test the page in,
#                                and any packages named after it
#   scripts/deps.sh --has GROUP  exit 0 when every package of the group is installed, else 1
set -euo pipefail

play=(
  # build (the asset generator too: it draws with FreeType and packs the icons with zlib)
  cmake g++ make pkg-config zlib1g-dev
  # engine and platform
  libsdl2-dev libopenal-dev libfluidsynth-dev libfreetype-dev libfontconfig1-dev
  # opened by path at run time: the music's soundfont and the text's face
  fonts-dejavu-core timgm6mb-soundfont
)
test=(
  # tests, benchmarks, fuzzing
  clang libgtest-dev libgmock-dev libbenchmark-dev libclang-rt-14-dev
  # trying the game as a player would, and making test fixtures
  xvfb xdotool imagemagick sox espeak-ng abcmidi
  # building the Debian package and checking it with Debian's own validators
  dpkg-dev desktop-file-utils appstream lintian man-db
)
web=(
  # the game as WebAssembly, and the page tested in headless Chromium
  emscripten chromium
  # the music rendered for the page, in Ogg Vorbis
  libvorbis-dev
)

has=0
if [ "${1:-}" = "--has" ]; then
  has=1
  shift
fi
case "${1:-test}" in
  play) packages=("${play[@]}") ;;
  test) packages=("${play[@]}" "${test[@]}") ;;
  web) packages=("${play[@]}" "${test[@]}" "${web[@]}") ;;
  *) echo "deps: unknown group \"$1\" (play, test or web)" >&2; exit 2 ;;
esac
if [ "${1:-}" = web ]; then
  shift
  packages+=("$@")
fi

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
[ "$has" -eq 1 ] && exit 1

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
echo "deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

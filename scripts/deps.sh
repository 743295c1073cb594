#!/usr/bin/env bash
# Installs the Debian packages Ashfallow needs to build, play and test. The one list of them.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config clang
  # engine and platform
  libsdl2-dev libopenal-dev libfluidsynth-dev libfreetype-dev libfontconfig1-dev
  fonts-dejavu-core timgm6mb-soundfont
  # tests, benchmarks, fuzzing
  libgtest-dev libgmock-dev libbenchmark-dev libclang-rt-14-dev
  # trying the game as a player would, and making test fixtures
  xvfb xdotool imagemagick sox espeak-ng abcmidi
)

# A script may ask for more (scripts/web: the browser's toolchain and a browser to test in).
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
echo "deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

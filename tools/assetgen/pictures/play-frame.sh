#!/usr/bin/env bash
# A composed play frame at game scale, to judge the arena, the sprites and the HUD together:
#   tools/assetgen/pictures/play-frame.sh DATA_DIR OUT.png
# It is put together here with ImageMagick from the data files (not captured from the game):
# GRASS.BMP, sprite cells cut as the game cuts them, the HUD lines in DejaVu Sans Bold 13 px.
set -euo pipefail
data=$1
out=$2
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# cell FILE CX CY W H NAME: one cell, key colour (index 0, black) made transparent.
cell() {
  convert "$data/$1" -crop "$4x$5+$(($2 * ($4 + 1) + 1))+$(($3 * ($5 + 1) + 1))" +repage \
    -transparent black "$tmp/$6.png"
}
cell SKELSP6.BMP 1 0 56 72 player        # the player walking south
cell SKELSP7.BMP 4 0 56 72 chop          # a hostile skeleton striking
cell SKELSP8.BMP 1 0 56 72 wounded       # frame 33: a wounded skeleton walking
cell SKELSP8.BMP 4 0 56 72 wreck         # frame 35: the last wreck, striking
cell SKELSP2.BMP 2 0 56 72 north         # walking away
cell SKELSP0.BMP 1 0 56 72 east          # walking east
cell DEDSP4.BMP 1 1 72 80 dead           # a dead actor firing west
cell laser.bmp 0 0 150 150 laser         # its beam

# Everything stands in the top-left 480 x 360, so a crop of that much shows it all at game scale.
# The dead actor at (390, 270): its beam runs west on rows 22..24 of its cell, rows 72..74 of the
# laser's box.
convert "$data/GRASS.BMP" \
  "$tmp/laser.png" -geometry +240+220 -composite \
  "$tmp/dead.png" -geometry +390+270 -composite \
  "$tmp/north.png" -geometry +120+70 -composite \
  "$tmp/wounded.png" -geometry +380+90 -composite \
  "$tmp/east.png" -geometry +40+230 -composite \
  "$tmp/wreck.png" -geometry +150+270 -composite \
  "$tmp/player.png" -geometry +240+140 -composite \
  "$tmp/chop.png" -geometry +286+160 -composite \
  -font "$font" -pointsize 13 -fill black \
  -annotate +0+13 "Health: 100" -annotate +100+13 "Score: 0" -annotate +0+33 "Spawn CD: 0%" \
  -fill red -annotate +252+138 "YOU" \
  -fill white -pointsize 11 -annotate +296+354 "composed from the data files" \
  "$out"

#!/bin/sh
# Draws the builder's own pictures with ImageMagick: run from this folder; the outputs are
# committed beside it. No text is drawn (the program writes its texts itself).
set -eu
M=magick; command -v magick >/dev/null 2>&1 || M=convert

# Splash and About image: a dusk gradient with a moon and two dune lines.
$M -size 442x262 gradient:'#1d2b53-#f2a65a' \
   -fill '#fff4d6' -draw 'circle 360,70 360,100' \
   -fill '#c9733c' -draw 'path "M 0,262 C 120,180 260,230 442,170 L 442,262 Z"' \
   -fill '#8f4a2a' -draw 'path "M 0,262 C 160,220 300,250 442,230 L 442,262 Z"' \
   -fill '#eeeeee' -draw 'rectangle 10,88 300,200' \
   PNG24:splash.png

# Big buttons, 74x64 on magenta (the transparent colour): open, movie, new.
# Without antialiasing: a blended edge pixel would not be the transparent magenta and would show.
big() { $M -size 74x64 xc:'#ff00ff' +antialias "$@" PNG24:"$OUT"; }
OUT=big_new.png big -fill white -stroke '#404040' -draw 'polygon 20,6 46,6 56,16 56,58 20,58' \
    -fill '#f2a65a' -stroke none -draw 'circle 38,36 38,46'
OUT=big_open.png big -fill '#e8c060' -stroke '#705010' -draw 'polygon 8,14 28,14 32,20 64,20 64,56 8,56' \
    -fill '#f8e090' -draw 'polygon 14,28 70,28 64,56 8,56'
OUT=big_movie.png big -fill '#1d2b53' -stroke none -draw 'rectangle 8,10 66,54' \
    -fill white -draw 'rectangle 12,13 17,17' -draw 'rectangle 24,13 29,17' -draw 'rectangle 36,13 41,17' \
    -draw 'rectangle 48,13 53,17' -draw 'rectangle 60,13 63,17' -draw 'rectangle 12,47 17,51' \
    -draw 'rectangle 24,47 29,51' -draw 'rectangle 36,47 41,51' -draw 'rectangle 48,47 53,51' \
    -draw 'rectangle 60,47 63,51' -fill '#f2a65a' -draw 'polygon 30,22 48,32 30,42'

# Toolbar pictures of the nine steps, 32x32 with alpha.
tool() { $M -size 32x32 xc:none "$@" PNG32:"$OUT"; }
OUT=step_start.png tool -fill '#2f8f2f' -draw 'polygon 8,4 28,16 8,28'
OUT=step_setup.png tool -fill '#606060' -draw 'circle 16,16 16,4' -fill none -stroke white -strokewidth 3 -draw 'circle 16,16 16,10'
OUT=step_style.png tool -fill '#c04040' -draw 'rectangle 4,4 18,18' -fill '#4060c0' -draw 'rectangle 14,14 28,28'
OUT=step_playback.png tool -fill '#1d2b53' -draw 'rectangle 3,6 29,26' -fill '#f2a65a' -draw 'polygon 12,10 22,16 12,22'
OUT=step_settings.png tool -fill '#404040' -draw 'rectangle 3,5 29,23' -fill '#80c0ff' -draw 'rectangle 6,8 26,20' -fill '#404040' -draw 'rectangle 12,24 20,28'
OUT=step_files.png tool -fill white -stroke '#404040' -draw 'polygon 7,3 20,3 26,9 26,29 7,29'
OUT=step_menu.png tool -fill '#3060a0' -draw 'rectangle 4,4 28,28' -fill white -draw 'rectangle 8,9 24,11' -draw 'rectangle 8,15 24,17' -draw 'rectangle 8,21 24,23'
OUT=step_post.png tool -fill none -stroke '#2f8f2f' -strokewidth 4 -draw 'polyline 5,17 13,25 27,7'
OUT=step_finish.png tool -fill '#303030' -draw 'rectangle 6,3 8,29' -fill '#e0e0e0' -draw 'rectangle 9,4 27,16' -fill '#303030' -draw 'rectangle 9,4 14,8' -draw 'rectangle 19,4 24,8' -draw 'rectangle 14,8 19,12' -draw 'rectangle 24,8 27,12' -draw 'rectangle 9,12 14,16' -draw 'rectangle 19,12 24,16'

# Application icon: a moon over a dune, 16, 32 and 48 pixels.
$M -size 48x48 xc:none -fill '#1d2b53' -draw 'roundrectangle 1,1 46,46 8,8' \
   -fill '#fff4d6' -draw 'circle 32,16 32,24' \
   -fill '#f2a65a' -draw 'path "M 1,46 C 14,26 30,40 46,30 L 46,46 Z"' icon48.png
$M icon48.png \( -clone 0 -resize 32x32 \) \( -clone 0 -resize 16x16 \) scrkit.ico

# Pointing-hand cursor, 32x32 (hot spot at the fingertip is set by the resource loader as 0,0).
$M -size 32x32 xc:none -fill white -stroke black \
   -draw 'polygon 6,0 10,0 10,12 22,12 24,14 24,26 20,31 8,31 2,22 2,16 6,16' hand.png
$M hand.png hand.cur
# ImageMagick writes an icon; make it a cursor (type 2) with the hot spot at the fingertip (8, 0).
python3 - <<'PY'
import struct
data = bytearray(open("hand.cur", "rb").read())
struct.pack_into("<H", data, 2, 2)
struct.pack_into("<HH", data, 6 + 4, 8, 0)
open("hand.cur", "wb").write(data)
PY

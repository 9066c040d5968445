#!/usr/bin/env bash
# Draws the four status-page images of the window (loading, done, cancel,
# wait) as 100 x 100 GIFs into resources/status. They are the program's own
# artwork; run this again after changing a drawing (needs ImageMagick).
set -euo pipefail
cd "$(dirname "$0")/../resources/status"
convert=/usr/bin/convert

# A ring of twelve dots, darker towards the top: work in progress.
dots=()
for i in $(seq 0 11); do
  a=$(echo "$i * 30 * 3.14159265 / 180" | bc -l)
  x=$(printf '%.0f' "$(echo "50 + 34 * s($a)" | bc -l)")
  y=$(printf '%.0f' "$(echo "50 - 34 * c($a)" | bc -l)")
  shade=$((40 + i * 16))
  dots+=(-fill "rgb($shade,$shade,$((shade + 40 > 255 ? 255 : shade + 40)))" -draw "circle $x,$y $((x + 7)),$y")
done
$convert -size 100x100 xc:none "${dots[@]}" loading.gif

# A green disc with a white tick: finished.
$convert -size 100x100 xc:none -fill "#2e9d3a" -draw "circle 50,50 50,6" \
  -stroke white -strokewidth 10 -fill none -draw "polyline 28,52 44,68 74,34" done.gif

# A red disc with a white bar: stopped.
$convert -size 100x100 xc:none -fill "#c62828" -draw "circle 50,50 50,6" \
  -fill white -draw "rectangle 24,44 76,56" cancel.gif

# An hourglass: wait while a folder loads.
$convert -size 100x100 xc:none -fill "#5d4037" -draw "rectangle 22,10 78,18" -draw "rectangle 22,82 78,90" \
  -fill "#f6c343" -stroke "#5d4037" -strokewidth 3 -draw "polygon 28,18 72,18 52,50 72,82 28,82 48,50" wait.gif

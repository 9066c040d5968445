#!/usr/bin/env bash
# A real window under Xvfb with a window manager: starts edbrecover-gui on
# a store, clicks Scan File, answers the completion box, opens the first
# mailbox's Inbox and clicks its first item, taking a screenshot after each
# step into OUT_DIR (test output, not part of the sources).
#
# Usage: xvfb_smoke.sh EDBRECOVER_GUI STORE OUT_DIR
# Exits 77 (skipped) when Xvfb, openbox, xdotool or ImageMagick's import is
# missing (tools/install-deps.sh --gui installs them).
set -euo pipefail
gui=$1 store=$2 out=$3
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || { echo "xvfb_smoke: $tool missing, skipped"; exit 77; }
done
mkdir -p "$out"
rm -f "$out"/smoke-*.png

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pids=("$xvfb")
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

QT_QPA_PLATFORM=xcb "$gui" "$store" 2>"$out/smoke-stderr.txt" &
app=$!
pids+=("$app")

window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^Zendrask Zendrask Exchange Recovery$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "xvfb_smoke: no window"; exit 1; }
sleep 1.5
shot() { import -window root "$out/smoke-$1.png"; echo "xvfb_smoke: $out/smoke-$1.png"; }
shot 1-started

# Window and client geometry. The window is maximised, so its bottom is the
# screen's bottom and its top lies HEIGHT above (xdotool's Y counts the
# frame twice under some window managers). The client starts below the menu
# bar; 20 pixels is close enough for clicks in the middle of 28-pixel
# buttons and 20-pixel rows.
eval "$(xdotool getwindowgeometry --shell "$window")"
screen_height=$(xdotool getdisplaygeometry | cut -d' ' -f2)
menu=20
client_top=$((screen_height - HEIGHT + menu))
click() { xdotool mousemove --sync "$1" "$2" click 1; }

# Scan File sits at the right edge: 770..880 of the 890-pixel design width.
click $((X + WIDTH - 65)) $((client_top + 86))
for _ in $(seq 100); do
  box=$(xdotool search --name '^Zendrask Systems Exchange Recovery$' 2>/dev/null | head -n 1 || true)
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || { shot 2-no-completion; echo "xvfb_smoke: the scan did not complete"; exit 1; }
shot 2-scanned
xdotool windowactivate --sync "$box" key Return || xdotool key Return
sleep 0.5

# The tree's rows are 20 pixels high from its top (140): the root, the first
# mailbox, then its folders once its expand button (left of its box) was
# clicked; the sample's first mailbox lists Inbox first.
tree_row() { echo $((client_top + 140 + 2 + 20 * $1 + 10)); }
click $((X + 40)) "$(tree_row 1)"
sleep 0.5
click $((X + 130)) "$(tree_row 2)"
sleep 2
shot 3-inbox

# The first row of the list, below its header.
click $((X + 400)) $((client_top + 140 + 24 + 10))
sleep 1
shot 4-preview

kill -0 "$app" || { echo "xvfb_smoke: the program ended early"; exit 1; }
echo "xvfb_smoke: done"

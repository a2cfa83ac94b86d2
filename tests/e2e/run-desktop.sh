#!/usr/bin/env bash
# The dictionary on a private desktop with a window manager (openbox): the
# main window's title and icon reach the window manager, the desktop's
# minimise iconifies it (it stays in the window list), and activating it from
# the desktop restores it, painted as before (screenshots compared).
#
#   run-desktop.sh <mirvodict>
set -euo pipefail
program=$1

work=$(mktemp -d)
pids=()
passed=0
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  if [ "$passed" = 1 ]; then rm -rf "$work"; else echo "screenshots and logs kept in $work"; fi
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Pixels that differ between two pictures. An ImageMagick error (a picture
# missing or unreadable) is no count of pixels: it ends the test, also from
# inside a command substitution assigned to a variable.
pixels_differing() {
  local out status=0
  out=$(compare -metric AE "$1" "$2" null: 2>&1) || status=$?
  if [ "$status" -gt 1 ] || ! [[ $out =~ ^[0-9]+$ ]]; then
    echo "FAIL: ImageMagick could not compare $1 with $2: $out" >&2
    exit 1
  fi
  echo "$out"
}

mkdir -p "$work/app"
cp "$program" "$work/app/mirvodict"
cp -r "$(dirname "$program")/dat" "$work/app/"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -br -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
export ASAN_OPTIONS=detect_leaks=0

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done

"$work/app/mirvodict" >"$work/program.log" 2>&1 &
pids+=($!)
main=""
for _ in $(seq 300); do
  main=$(xdotool search --onlyvisible --classname mirvodict 2>/dev/null | head -n1 || true)
  [ -n "$main" ] && break
  sleep 0.1
done
[ -n "$main" ] || fail "the main window did not appear"
sleep 2

title=$(xdotool getwindowname "$main")
[ -n "$title" ] || fail "the main window has no title for the desktop"
xprop -id "$main" _NET_WM_ICON | head -c 300 | grep -q 'Icon (32 x 32)' || fail "the main window has no 32 x 32 icon"

eval "$(xdotool getwindowgeometry --shell "$main")"
crop="${WIDTH}x${HEIGHT}+${X}+${Y}"
import -window root -crop "$crop" +repage "$work/before.png"

xdotool windowminimize "$main"
for _ in $(seq 100); do xprop -id "$main" WM_STATE | grep -q Iconic && break; sleep 0.1; done
xprop -id "$main" WM_STATE | grep -q Iconic || fail "the main window was not iconified"
xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$main")" || fail "the iconified window left the window list"
sleep 1
import -window root -crop "$crop" +repage "$work/minimised.png"
changed=$(pixels_differing "$work/before.png" "$work/minimised.png")
[ "$changed" -gt 0 ] || fail "the main window still shows while minimised"

xdotool windowactivate "$main" 2>/dev/null || true
for _ in $(seq 100); do xprop -id "$main" WM_STATE | grep -q Normal && break; sleep 0.1; done
sleep 2
import -window root -crop "$crop" +repage "$work/after.png"
diff=$(pixels_differing "$work/before.png" "$work/after.png")
if [ "$diff" != 0 ]; then
  # Only the word box's blinking caret may differ: one thin column.
  compare "$work/before.png" "$work/after.png" -compose src "$work/diff.png" 2>/dev/null || true
  changed=$(convert "$work/diff.png" -fuzz 10% -trim -format '%w' info: 2>/dev/null || echo 9999)
  [ "$changed" -le 2 ] || fail "the restored main window differs from before in $diff pixels"
fi
kill -0 "${pids[2]}" 2>/dev/null || fail "the program ended"
[ -n "${E2E_ARTIFACTS:-}" ] && mkdir -p "$E2E_ARTIFACTS" && cp "$work"/*.png "$E2E_ARTIFACTS"/
passed=1
echo "PASS: '$title' minimised to the window list and restored through the window manager"

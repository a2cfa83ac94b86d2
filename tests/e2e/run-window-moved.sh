#!/usr/bin/env bash
# The dictionary on a desktop whose window manager (openbox) places and moves
# its windows: the window manager places the main window at the screen's
# top-left corner at its first show, the user drags it with Alt+drag and a
# program moves it (xdotool windowmove). After each, a click where the "..."
# button is drawn opens the open dialog: the program takes its windows'
# places from the desktop and finds its controls where they are.
#
#   run-window-moved.sh <mirvodict> <mainwin_reference>
set -euo pipefail
program=$1
reference=$2

work=$(mktemp -d)
pids=()
passed=0
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  if [ -n "${E2E_ARTIFACTS:-}" ]; then
    mkdir -p "$E2E_ARTIFACTS" && cp "$work"/*.png "$work"/*.log "$E2E_ARTIFACTS"/ 2>/dev/null
  fi
  if [ "$passed" = 1 ]; then rm -rf "$work"; else echo "screenshots and logs kept in $work"; fi
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  import -window root "$work/failure.png" 2>/dev/null || true
  exit 1
}

mkdir -p "$work/app"
cp "$program" "$work/app/mirvodict"
cp -r "$(dirname "$program")/dat" "$work/app/"

# Where the "..." button lies in the main window, from the headless rendering.
"$reference" render "$work/app" apple "$work/reference.png" >"$work/layout.env" 2>"$work/reference.log" \
  || fail "the headless reference failed: $(cat "$work/reference.log")"
# shellcheck disable=SC1091
. "$work/layout.env"
IFS='x+' read -r _ _ ref_x ref_y <<<"$MAIN_WINDOW"
browse_dx=$((BROWSE_X - ref_x))
browse_dy=$((BROWSE_Y - ref_y))

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -br -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
export ASAN_OPTIONS=detect_leaks=0

# The desktop's own configuration, with one rule: the program's windows are
# placed at the top-left corner, wherever the program asks for them.
sed 's|^<applications>$|<applications><application name="mirvodict" type="normal"><position force="yes"><x>0</x><y>0</y></position></application>|' \
  /etc/xdg/openbox/rc.xml >"$work/rc.xml"
grep -q 'position force="yes"' "$work/rc.xml" || fail "could not write the window manager's placement rule"
openbox --sm-disable --config-file "$work/rc.xml" >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done

"$work/app/mirvodict" >"$work/program.log" 2>&1 &
pids+=($!)
visible_windows() { xdotool search --onlyvisible --classname mirvodict 2>/dev/null | wc -l; }
wait_windows() {
  for _ in $(seq 200); do
    [ "$(visible_windows)" -eq "$1" ] && { sleep 0.3; return 0; }
    sleep 0.05
  done
  fail "$2: expected $1 visible windows, found $(visible_windows)"
}
wait_windows 1 "start"
main=$(xdotool search --onlyvisible --classname mirvodict | head -n1)
sleep 1

# Waits until the main window stands at ($1, $2).
wait_place() {
  for _ in $(seq 100); do
    eval "$(xdotool getwindowgeometry --shell "$main")"
    [ "$X,$Y" = "$1,$2" ] && { sleep 0.3; return 0; }
    sleep 0.05
  done
  fail "$3: the main window is at $X,$Y, not at $1,$2"
}

# A click on "..." where it is drawn now opens the dialog; Escape closes it.
open_dialog_at_button() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  xdotool mousemove $((X + browse_dx)) $((Y + browse_dy)) click 1
  wait_windows 2 "$1: the click on \"...\" at $((X + browse_dx)),$((Y + browse_dy))"
  import -window root "$work/$2.png"
  xdotool key Escape
  wait_windows 1 "$1: the dialog did not close"
}

wait_place 0 0 "placed by the window manager"
open_dialog_at_button "after the window manager's placement" placed
echo "ok: the window placed by the window manager takes clicks where it is drawn"

xdotool mousemove 250 300
sleep 0.2
xdotool keydown alt mousedown 1
for _ in 1 2 3 4 5 6 7 8 9 10; do xdotool mousemove_relative -- 4 3; sleep 0.03; done
xdotool mouseup 1 keyup alt
wait_place 40 30 "after Alt+drag by (40, 30)"
open_dialog_at_button "after Alt+drag" dragged
echo "ok: the window dragged by the window manager takes clicks where it is drawn"

xdotool windowmove "$main" 300 200
wait_place 300 200 "after windowmove"
open_dialog_at_button "after windowmove" windowmove
echo "ok: the window moved by another program takes clicks where it is drawn"

kill -0 "${pids[2]}" 2>/dev/null || fail "the program ended"
passed=1

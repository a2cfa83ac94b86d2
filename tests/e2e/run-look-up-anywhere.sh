#!/usr/bin/env bash
# Looking up from anywhere, on a private desktop with a window manager
# (openbox), compared with the headless rendering of the same state:
#  1. "apple" is the primary selection (xclip); Ctrl+Alt+Z looks it up;
#  2. a second start with a word hands it to the running window and ends
#     (one window process left, the word's gloss shown);
#  3. a minimised window comes back for `mirvodict --selection`;
#  4. hostile selections (empty, 1 MB, binary, invalid UTF-8, an owner that
#     never answers) neither stop nor stall the window;
#  5. with the hotkey held by another program a new window says so in its
#     gloss pane and keeps working.
#
#   run-look-up-anywhere.sh <mirvodict> <mirvodict-cli> <anywhere_reference> <desktop_rival>
set -euo pipefail
program=$1
front=$2
reference=$3
rival=$4

work=$(mktemp -d)
pids=()
passed=0
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  if [ -n "${E2E_ARTIFACTS:-}" ]; then
    mkdir -p "$E2E_ARTIFACTS" && cp "$work"/*.png "$work"/*.log "$E2E_ARTIFACTS"/ 2>/dev/null
  fi
  if [ "$passed" = 1 ]; then rm -rf "$work"; else echo "screenshots and logs kept in ${E2E_ARTIFACTS:-$work}"; fi
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$work/app" "$work/run" "$work/home"
chmod 700 "$work/run"
cp "$program" "$work/app/mirvodict"
cp "$front" "$work/app/mirvodict-cli"
cp -r "$(dirname "$program")/dat" "$work/app/"
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home" ASAN_OPTIONS=detect_leaks=0
unset XDG_CONFIG_HOME

: >"$work/display"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -br -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done

"$reference" render "$work/app" apple "$work/ref-apple.png" >"$work/layout.env" 2>"$work/reference.log" \
  || fail "the headless reference failed: $(cat "$work/reference.log")"
"$reference" render "$work/app" pear "$work/ref-pear.png" >/dev/null 2>>"$work/reference.log" \
  || fail "the headless reference failed: $(cat "$work/reference.log")"
"$reference" render-taken "$work/app" "$work/ref-taken.png" >/dev/null 2>>"$work/reference.log" \
  || fail "the headless reference failed: $(cat "$work/reference.log")"
# shellcheck disable=SC1091
. "$work/layout.env"
ref_origin=${MAIN_WINDOW#*+}
ref_x=${ref_origin%+*}
ref_y=${ref_origin#*+}

# The window processes of the test's program.
window_processes() { pgrep -f -x "$work/app/mirvodict" | wc -l; }
main_window() { xdotool search --onlyvisible --classname mirvodict 2>/dev/null | head -n1 || true; }
wait_main_window() {
  for _ in $(seq 300); do [ -n "$(main_window)" ] && { sleep 0.3; return 0; }; sleep 0.05; done
  fail "the main window did not appear"
}
# Differing pixels of a rectangle (WxH+X+Y relative to the window) between
# the screen and reference $1.
pane_difference() {
  local rel=$2 size=${2%%+*} off=${2#*+}
  local dx=${off%+*} dy=${off#*+}
  eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${size}+$((X + dx))+$((Y + dy))" +repage "$work/screen-part.png"
  convert "$work/$1" -crop "${size}+$((ref_x + dx))+$((ref_y + dy))" +repage "$work/ref-part.png"
  compare -metric AE "$work/screen-part.png" "$work/ref-part.png" null: 2>&1 || true
}
# Waits until the gloss pane and the word box (not with "pane-only" as $3:
# an empty box shows the blinking caret) show what reference $1 shows.
expect_like() {
  local what=$2 d="" want="0/0"
  [ "${3:-}" = pane-only ] && want="0/-"
  for _ in $(seq 40); do
    d="$(pane_difference "$1" "$PANE_REL")/"
    if [ "${3:-}" = pane-only ]; then d+="-"; else d+="$(pane_difference "$1" "$WORD_REL")"; fi
    [ "$d" = "$want" ] && { echo "ok: $what"; return 0; }
    sleep 0.15
  done
  cp "$work/screen.png" "$work/failed-$1"
  fail "$what: the gloss pane / word box differ from the reference in $d pixels"
}
select_primary() { xclip -selection primary -i; }

# ---- 1. the hotkey looks up the primary selection ---------------------------------------------
"$work/app/mirvodict" >"$work/program.log" 2>&1 &
pids+=($!)
window_pid=$!
wait_main_window
printf 'apple' | select_primary
xdotool key ctrl+alt+z
expect_like ref-apple.png "Ctrl+Alt+Z looks up the selected 'apple'"

# ---- 2. a second start hands its word over ------------------------------------------------------
start=$(date +%s%N)
timeout 10 "$work/app/mirvodict-cli" pear || fail "the second start failed"
echo "ok: the second start handed 'pear' over in $((($(date +%s%N) - start) / 1000000)) ms"
expect_like ref-pear.png "the running window looked up 'pear'"
[ "$(window_processes)" = 1 ] || fail "$(window_processes) window processes run"
# The window program itself, started again, hands over too.
timeout 10 "$work/app/mirvodict" apple || fail "the window program's second start failed"
expect_like ref-apple.png "a second start of the window program handed 'apple' over"
[ "$(window_processes)" = 1 ] || fail "$(window_processes) window processes run"

# ---- 3. a minimised window comes back -----------------------------------------------------------
xdotool windowminimize --sync "$(main_window)"
for _ in $(seq 100); do [ -z "$(main_window)" ] && break; sleep 0.05; done
[ -z "$(main_window)" ] || fail "the window did not minimise"
printf 'pear' | select_primary
timeout 10 "$work/app/mirvodict-cli" --selection || fail "--selection failed"
wait_main_window
expect_like ref-pear.png "a minimised window came back and looked up the selected 'pear'"
active=$(xdotool getactivewindow 2>/dev/null || true)
[ "$active" = "$(main_window)" ] || fail "the window came back without the focus (active: $active)"
echo "ok: it has the focus"

# ---- 4. hostile selections ----------------------------------------------------------------------
printf 'apple' | select_primary
xdotool key ctrl+alt+z
expect_like ref-apple.png "back to 'apple'"
responsive() {
  # The window still answers: a word handed over is looked up at once.
  timeout 5 "$work/app/mirvodict-cli" pear || fail "the window stopped answering after $1"
  expect_like ref-pear.png "the window answers after $1"
  timeout 5 "$work/app/mirvodict-cli" apple || fail "the window stopped answering after $1"
  expect_like ref-apple.png "and again"
}
printf '' | select_primary
xdotool key ctrl+alt+z
responsive "an empty selection"
head -c 1048576 /dev/zero | tr '\0' 'x' | select_primary
xdotool key ctrl+alt+z
responsive "a 1 MB selection"
head -c 4096 /dev/urandom | select_primary
xdotool key ctrl+alt+z
responsive "a binary selection"
printf '\xff\xfe\xc3(apple\xe2\x82' | select_primary
xdotool key ctrl+alt+z
responsive "a selection that is not UTF-8"
"$rival" stall-selection >"$work/rival.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q ready "$work/rival.log" && break; sleep 0.05; done
start=$(date +%s%N)
xdotool key ctrl+alt+z
sleep 0.1
timeout 5 "$work/app/mirvodict-cli" pear || fail "the window stopped answering with a stalled selection owner"
waited=$((($(date +%s%N) - start) / 1000000))
expect_like ref-pear.png "a stalled selection owner held the window $waited ms"
[ "$waited" -lt 1600 ] || fail "a stalled selection owner held the window $waited ms"
kill -0 "$window_pid" || fail "the window program ended"

# ---- 5. the hotkey held by another program ----------------------------------------------------
kill "$window_pid"; wait "$window_pid" 2>/dev/null || true
"$rival" grab-key >"$work/rival-key.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q ready "$work/rival-key.log" && break; sleep 0.05; done
"$work/app/mirvodict" >"$work/program2.log" 2>&1 &
pids+=($!)
window_pid=$!
wait_main_window
expect_like ref-taken.png "with Ctrl+Alt+Z held elsewhere the gloss pane says so" pane-only
timeout 10 "$work/app/mirvodict-cli" apple || fail "the second start failed"
expect_like ref-apple.png "and the dictionary keeps working"

passed=1
echo "PASS"

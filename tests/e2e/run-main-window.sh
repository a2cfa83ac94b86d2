#!/usr/bin/env bash
# End-to-end test of the dictionary on a virtual X display of its own:
#  1. translate: type a word, click "翻译", click the second row, and compare
#     the hit list and the gloss pane on the screen with the headless
#     rendering of the same state;
#  2. the skinned frame: the word box's hint (its place and picture), the
#     system menu from the caption and from its button (its picture), the
#     minimise-to-tray button that does nothing, the about window over a main
#     window that takes no clicks;
#  3. import: choose a three-line word list (one line empty) in the open
#     dialog, import it, and check that the database gained its two words
#     (the blank line is passed over);
#  4. the frame's size cannot be dragged, and a caption drag that drops the
#     window 9 pixels from the screen's left edge snaps it there, 10 do not.
#
#   run-main-window.sh <mirvodict> <mainwin_reference>
#
# On failure the screenshots are kept in $E2E_ARTIFACTS (default: a folder
# named in the output).
set -euo pipefail
program=$1
reference=$2

work=$(mktemp -d)
xvfb_pid=""
program_pid=""
passed=0
cleanup() {
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  # With E2E_ARTIFACTS set the screenshots and logs are kept there, passed or not.
  if [ -n "${E2E_ARTIFACTS:-}" ]; then
    mkdir -p "$E2E_ARTIFACTS" && cp "$work"/*.png "$work"/*.log "$E2E_ARTIFACTS"/ 2>/dev/null
  fi
  if [ "$passed" = 1 ]; then
    rm -rf "$work"
  else
    [ -z "${E2E_ARTIFACTS:-}" ] || rm -rf "$work"
    echo "screenshots and logs kept in ${E2E_ARTIFACTS:-$work}"
  fi
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
# The same for a region (WxH+X+Y) of two pictures, cut into $work/<name>-*.png.
region_differing() {  # name picture-a rect-a picture-b rect-b
  convert "$2" -crop "$3" +repage "$work/screen-$1.png" || { echo "FAIL: cannot cut $2" >&2; exit 1; }
  convert "$4" -crop "$5" +repage "$work/reference-$1.png" || { echo "FAIL: cannot cut $4" >&2; exit 1; }
  pixels_differing "$work/screen-$1.png" "$work/reference-$1.png"
}
# A rectangle WxH+X+Y made smaller by $2 pixels on every side.
inset_rect() {
  local w=${1%%x*} rest=${1#*x}
  local h=${rest%%+*} x=${rest#*+}
  local y=${x#*+}
  x=${x%%+*}
  echo "$((w - 2 * $2))x$((h - 2 * $2))+$((x + $2))+$((y + $2))"
}

# The program in a folder of its own, with its data, so that the import
# writes to a copy of the database and never to the build's.
mkdir -p "$work/app"
cp "$program" "$work/app/mirvodict"
cp -r "$(dirname "$program")/dat" "$work/app/"

# A virtual display on a free number. On a machine shared with other tests
# the number can be lost between Xvfb choosing it and a client connecting;
# then the display is started again.
start_display() {
  : >"$work/display"
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -br -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || return 1
  export DISPLAY=":$(head -n1 "$work/display")"
  kill -0 "$xvfb_pid" 2>/dev/null && xdpyinfo >/dev/null 2>&1
}
for attempt in 1 2 3; do
  start_display && break
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
  [ "$attempt" = 3 ] && fail "Xvfb did not start"
done
export ASAN_OPTIONS=detect_leaks=0

# The reference state, and where to click.
"$reference" render "$work/app" apple "$work/reference.png" >"$work/layout.env" 2>"$work/reference.log" \
  || fail "the headless reference failed: $(cat "$work/reference.log")"
# shellcheck disable=SC1091
. "$work/layout.env"
rows_before=$("$reference" count-rows "$work/app")

visible_windows() { xdotool search --onlyvisible --classname mirvodict 2>/dev/null | wc -l; }
# Waits until the program shows exactly $1 windows (the main window, and the
# dialog or message box on top of it).
wait_windows() {
  for _ in $(seq 300); do
    [ "$(visible_windows)" -eq "$1" ] && { sleep 0.2; return 0; }
    sleep 0.05
  done
  fail "expected $1 visible windows, found $(visible_windows)"
}
# Somewhere on the main window where no control sits and no hint appears.
rest_pointer() { xdotool mousemove "$((WORD_BOX_X - 300))" "$((IMPORT_Y + 60))"; }

# The program on the display. When it finds no display to open (the display
# was lost meanwhile, see above), the display is started again and so is the
# program, once.
for attempt in 1 2; do
  xdpyinfo >/dev/null 2>&1 || { kill "$xvfb_pid" 2>/dev/null || true; start_display || fail "Xvfb did not start"; }
  "$work/app/mirvodict" >"$work/program.log" 2>&1 &
  program_pid=$!
  for _ in $(seq 300); do
    [ "$(visible_windows)" -ge 1 ] && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.05
  done
  if ! kill -0 "$program_pid" 2>/dev/null && grep -q "cannot open the display" "$work/program.log" && [ "$attempt" = 1 ]; then
    echo "the program found no display ($(cat "$work/program.log" | head -n1)); starting the display again"
    wait "$program_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    start_display || fail "Xvfb did not start"
    continue
  fi
  break
done
wait_windows 1
geometry=$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --classname mirvodict | head -n1)")
eval "$geometry"
[ "${WIDTH}x${HEIGHT}+${X}+${Y}" = "$MAIN_WINDOW" ] \
  || fail "the window is at ${WIDTH}x${HEIGHT}+${X}+${Y}, the reference at $MAIN_WINDOW"

# ---- translate and pick ------------------------------------------------------------------------
# The database's words come in just after the window shows (they are read
# behind it); the reference shows the state with them.
sleep 0.5
xdotool mousemove "$WORD_BOX_X" "$WORD_BOX_Y" click 1
xdotool type --delay 30 apple
xdotool mousemove "$TRANSLATE_X" "$TRANSLATE_Y" click 1
xdotool mousemove "$SECOND_ROW_X" "$SECOND_ROW_Y" click 1

# Differing pixels of one region between the screen and the reference.
region_difference() { region_differing "$1" "$work/screen.png" "$2" "$work/reference.png" "$2"; }
regions=("hit list:$LIST_RECT" "gloss pane:$PANE_RECT" "word box:$WORD_RECT")
# The program handles the clicks in order; the screen is read until it
# shows their result (or the time is up).
for attempt in $(seq 40); do
  sleep 0.15
  import -window root "$work/screen.png"
  all_same=1
  for r in "${regions[@]}"; do
    differing=$(region_difference "${r%%:*}" "${r#*:}") || exit 1
    [ "$differing" = "0" ] || all_same=0
  done
  [ "$all_same" = 1 ] && break
done
for r in "${regions[@]}"; do
  differing=$(region_difference "${r%%:*}" "${r#*:}")
  [ "$differing" = "0" ] || fail "the ${r%%:*} differs from the reference in $differing pixels"
  echo "ok: the ${r%%:*} matches the headless rendering (${r#*:})"
done

# ---- the skinned frame --------------------------------------------------------------------------
main_window=$(xdotool search --onlyvisible --classname mirvodict | head -n1)
# The geometry (WxH+X+Y) of the program's one visible window other than the main window.
other_window() {
  for w in $(xdotool search --onlyvisible --classname mirvodict); do
    [ "$w" = "$main_window" ] && continue
    eval "$(xdotool getwindowgeometry --shell "$w")"
    echo "${WIDTH}x${HEIGHT}+${X}+${Y}"
    return
  done
}
# Shoots the screen until the region $2 of it shows what the region $4 of the
# picture $3 shows, for up to six seconds; prints the differing pixels of the
# last shot (0 when they came to match).
wait_region_like() {  # name rect reference rect
  local differing=""
  for _ in $(seq 40); do
    import -window root "$work/$1.png"
    differing=$(region_differing "$1" "$work/$1.png" "$2" "$3" "$4") || exit 1
    [ "$differing" = 0 ] && break
    sleep 0.15
  done
  echo "$differing"
}
# The word box's hint shows in a window of its own below the pointer, where
# the headless run put it, with the same picture.
xdotool mousemove "$WORD_BOX_X" "$WORD_BOX_Y"
wait_windows 2
hint=$(other_window)
[ "$hint" = "$HINT_WINDOW" ] || fail "the window that appeared over the word box is $hint, the hint at $HINT_WINDOW"
hint_x=${hint#*+}
hint_y=${hint_x#*+}
hint_x=${hint_x%+*}
[ "$hint_y" -gt "$WORD_BOX_Y" ] && [ "$hint_x" -le "$WORD_BOX_X" ] && [ "$((hint_x + ${hint%%x*}))" -gt "$WORD_BOX_X" ] \
  || fail "the hint at $hint does not stand below the pointer ($WORD_BOX_X,$WORD_BOX_Y)"
differing=$(wait_region_like hint-window "$hint" "$work/reference-hint.png" "$HINT_WINDOW")
[ "$differing" = 0 ] || fail "the hint differs from the headless rendering in $differing pixels"
echo "ok: the word box's hint appears below the pointer as the headless rendering ($hint)"
rest_pointer
wait_windows 1

# The system menu, from a right click on the caption and from the button:
# the menu's picture is the headless one, so an item missing, added or out of
# order shows. The corners are left out: the skin's mask cuts them, and what
# shows there is whatever lies behind the menu.
menu_inside=$(inset_rect "$MENU_RECT" 5)
for opener in caption button; do
  if [ "$opener" = caption ]; then xdotool mousemove "$CAPTION_X" "$CAPTION_Y" click 3
  else xdotool mousemove "$SYSMENU_BUTTON_X" "$SYSMENU_BUTTON_Y" click 1; fi
  wait_windows 2
  menu=$(other_window)
  [ "${menu%%+*}" = "$MENU_SIZE" ] || fail "the system menu from the $opener is $menu, the reference $MENU_SIZE"
  differing=$(wait_region_like "menu-$opener" "$(inset_rect "$menu" 5)" "$work/reference-menu.png" "$menu_inside")
  [ "$differing" = 0 ] || fail "the system menu from the $opener differs from the headless rendering in $differing pixels"
  xdotool key Escape
  wait_windows 1
  echo "ok: the $opener opens the skinned system menu as the headless rendering ($menu, $MENU_ITEMS items)"
done

# The minimise-to-tray button does nothing: the window has no tray icon.
xdotool mousemove "$TRAY_BUTTON_X" "$TRAY_BUTTON_Y" click 1
rest_pointer
sleep 0.5
[ "$(visible_windows)" -eq 1 ] || fail "the minimise-to-tray button changed the windows"
eval "$(xdotool getwindowgeometry --shell "$main_window")"
[ "${WIDTH}x${HEIGHT}+${X}+${Y}" = "$MAIN_WINDOW" ] || fail "the minimise-to-tray button moved the window"
echo "ok: the minimise-to-tray button does nothing"

# "关于..." shows the about window; the main window takes no clicks until OK;
# a second showing puts it in the same place.
for showing in first second; do
  xdotool mousemove "$CAPTION_X" "$CAPTION_Y" click 3
  wait_windows 2
  xdotool mousemove "$ABOUT_ITEM_X" "$ABOUT_ITEM_Y" click 1
  sleep 0.3
  wait_windows 2
  about=$(other_window)
  [ "$about" = "$ABOUT_WINDOW" ] || fail "the $showing about window is at $about, the reference at $ABOUT_WINDOW"
  import -window root "$work/about-$showing.png"
  xdotool mousemove "$BROWSE_X" "$BROWSE_Y" click 1
  sleep 0.5
  [ "$(visible_windows)" -eq 2 ] || fail "a click on the main window's browse button went through the about window"
  xdotool mousemove "$ABOUT_OK_X" "$ABOUT_OK_Y" click 1
  rest_pointer
  wait_windows 1
  echo "ok: the $showing about window shows at $about and holds the main window until OK"
done

# ---- a word list named in Chinese, chosen in the skinned open dialog ----------------------------
# The dialog starts in the program's folder; the list lies one folder down,
# beside a folder of its own.
chinese_folder="词库"
chinese_name="单词表.txt"
mkdir -p "$work/app/$chinese_folder/子目录"
printf 'cnfirst|n.e2e first\r\ncnsecond|n.e2e second\r\n' >"$work/app/$chinese_folder/$chinese_name"
"$reference" dialog "$work/app" "$chinese_folder" "$chinese_folder/$chinese_name" "$work/dialog" \
  >"$work/dialog.env" 2>"$work/dialog-reference.log" || fail "the headless dialog failed: $(cat "$work/dialog-reference.log")"
# shellcheck disable=SC1091
. "$work/dialog.env"
# Waits until a screen region shows what the reference picture shows there.
expect_region() {  # name reference.png rect
  local differing=""
  for _ in $(seq 40); do
    sleep 0.15
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop "$3" +repage "$work/screen-$1.png"
    convert "$2" -crop "$3" +repage "$work/reference-$1.png"
    differing=$(pixels_differing "$work/screen-$1.png" "$work/reference-$1.png") || exit 1
    [ "$differing" = 0 ] && { echo "ok: $1 matches the headless rendering"; return 0; }
  done
  fail "$1 differs from the headless rendering in $differing pixels"
}
# Types text with characters the keyboard has no keys for: each is bound to
# a free key first (one remapping per character would lose some).
type_text() {
  local free keymap="" i=0 c
  mapfile -t free < <(xmodmap -pke | awk 'NF == 3 { print $2 }')
  for ((n = 0; n < ${#1}; n++)); do
    c=${1:n:1}
    [[ $c == [[:ascii:]] ]] && continue
    keymap+=" -e 'keycode ${free[i]} = U$(printf '%04X' "'$c")'"
    i=$((i + 1))
  done
  [ -z "$keymap" ] || eval "xmodmap $keymap"
  LC_ALL=C.UTF-8 xdotool type --delay 60 "$1"
}

xdotool mousemove "$BROWSE_X" "$BROWSE_Y" click 1
wait_windows 2
[ "$(other_window)" = "$DIALOG_WINDOW" ] || fail "the open dialog is at $(other_window), the reference at $DIALOG_WINDOW"
expect_region "dialog's file list" "$work/dialog-opened.png" "$FILE_LIST_RECT"
xdotool mousemove "$FOLDER_ITEM_X" "$FOLDER_ITEM_Y" click --repeat 2 --delay 80 1
expect_region "file list inside $chinese_folder" "$work/dialog-entered.png" "$FILE_LIST_RECT"
xdotool key BackSpace
expect_region "file list back up" "$work/dialog-back.png" "$FILE_LIST_RECT"
xdotool mousemove "$NAME_BOX_X" "$NAME_BOX_Y" click 1
type_text "$chinese_folder/$chinese_name"
xdotool key Return
wait_windows 1
expect_region "path box with the Chinese name" "$work/dialog-chosen.png" "$PATH_RECT"

# The import question answered with the mouse, the report with the keyboard.
xdotool mousemove "$IMPORT_X" "$IMPORT_Y" click 1
rest_pointer
wait_windows 2
question=$(other_window)
question_x=${question#*+}
question_y=${question_x#*+}
question_x=${question_x%+*}
xdotool mousemove $((question_x + QUESTION_YES_OFFSET_X)) $((question_y + QUESTION_YES_OFFSET_Y)) click 1
rest_pointer
sleep 0.5
wait_windows 2
import -window root "$work/chinese-report.png"
xdotool key Escape   # No: do not share
wait_windows 1
rows_chinese=$("$reference" count-rows "$work/app")
[ "$rows_chinese" -eq "$((rows_before + 2))" ] \
  || fail "the database has $rows_chinese rows after importing $chinese_name, expected $((rows_before + 2))"
echo "ok: the list named $chinese_folder/$chinese_name was chosen in the skinned dialog and imported"
rows_before=$rows_chinese

# ---- import a three-line file through the open dialog -----------------------------------------
printf 'zyxwvu|n.e2e one\r\n\r\nqzxwvu|n.e2e two\r\n' >"$work/words.txt"
xdotool mousemove "$BROWSE_X" "$BROWSE_Y" click 1
rest_pointer
wait_windows 2
xdotool type --delay 10 "$work/words.txt"
xdotool key Return
wait_windows 1

xdotool mousemove "$IMPORT_X" "$IMPORT_Y" click 1
rest_pointer
wait_windows 2
import -window root "$work/question.png"
xdotool key Return   # Yes: import
sleep 0.5
wait_windows 2
import -window root "$work/report.png"
xdotool key Escape   # No: do not share
wait_windows 1

# ---- the frame's size and position --------------------------------------------------------------
main_geometry() { eval "$(xdotool getwindowgeometry --shell "$main_window")"; echo "${WIDTH}x${HEIGHT}+${X}+${Y}"; }
# Dragging the bottom-right corner changes nothing: the window has a fixed size.
eval "$(xdotool getwindowgeometry --shell "$main_window")"
xdotool mousemove $((X + WIDTH - 2)) $((Y + HEIGHT - 2)) mousedown 1 mousemove $((X + WIDTH + 60)) $((Y + HEIGHT + 40)) mouseup 1
sleep 0.3
[ "$(main_geometry)" = "$MAIN_WINDOW" ] || fail "dragging the frame's corner made the window $(main_geometry)"
echo "ok: the frame cannot be resized"
# Drops the window with its left edge at $1 by one caption drag; prints where it landed.
drop_at() {
  eval "$(xdotool getwindowgeometry --shell "$main_window")"
  local grab_x=$((X + 150)) grab_y=$((CAPTION_Y - ${MAIN_WINDOW##*+} + Y))
  xdotool mousemove "$grab_x" "$grab_y" mousedown 1
  sleep 0.1
  xdotool mousemove $((grab_x + $1 - X)) $((grab_y + 20))
  sleep 0.2
  xdotool mouseup 1
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$main_window")"
  echo "$X"
}
landed=$(drop_at 10)
[ "$landed" = 10 ] || fail "dropped 10 pixels from the left edge, the window is at $landed"
drop_at 100 >/dev/null
landed=$(drop_at 9)
[ "$landed" = 0 ] || fail "dropped 9 pixels from the left edge, the window is at $landed, not snapped to 0"
import -window root "$work/snapped.png"
echo "ok: dropped 10 pixels from the edge it stays, 9 pixels away it snaps to the edge"

kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""

rows_after=$("$reference" count-rows "$work/app")
[ "$rows_after" -eq "$((rows_before + 2))" ] \
  || fail "the database has $rows_after rows after the import, expected $((rows_before + 2))"
echo "ok: the import added the two words and passed over the blank line ($rows_before -> $rows_after)"
passed=1
echo "1 passed, 0 failed"

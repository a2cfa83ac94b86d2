#!/usr/bin/env bash
# A skinned window (skinnedform_probe) on a private desktop with a window
# manager (openbox), driven with xdotool and checked with xprop, import and
# the probe's own account of its state:
#   - it looks like the headless rendering of the same window;
#   - a right click on the caption shows the skinned system menu at the
#     pointer, its items in the order the state gives, drawn as headless;
#     Alt+Space shows it under the system-menu button;
#   - a quick caption drag moves the window exactly as far as the pointer;
#     dropped 10 pixels from the work area's left edge it stays there,
#     9 pixels away it snaps to the edge;
#   - a double click on the caption maximises it 1 pixel inside the work
#     area, another restores it exactly; without the maximise button a
#     double click rolls it up to the frame alone and another rolls it down;
#   - the minimise button iconifies it (WM_STATE Iconic) and, activated from
#     the desktop, it comes back painted as before;
#   - a second skin loaded at run time (a copy of the first in other
#     colours) redraws the frame, as the headless rendering of that skin.
#
#   run-skinned-form.sh <skinnedform_probe> <skin folder>
#
# The screenshots are kept in $E2E_ARTIFACTS when it is set, and in the work
# folder named in the output when a check fails.
set -euo pipefail
probe=$1
skin_folder=$2

work=$(mktemp -d)
ctl="$work/ctl"
mkdir -p "$ctl"
pids=()
passed=0
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  if [ -n "${E2E_ARTIFACTS:-}" ]; then
    mkdir -p "$E2E_ARTIFACTS" && cp "$work"/*.png "$work"/*.log "$ctl"/probe.log "$E2E_ARTIFACTS"/ 2>/dev/null || true
  fi
  if [ "$passed" = 1 ]; then rm -rf "$work"; else echo "screenshots and logs kept in $work"; fi
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }

# ---- the two skins and their headless renderings -----------------------------------------------
cp -r "$skin_folder" "$work/skin1"
cp -r "$skin_folder" "$work/skin2"
# Other colours, the same shapes: a hue turn leaves the black and white masks as they are.
for bmp in "$work"/skin2/*.bmp; do convert "$bmp" -modulate 100,100,150 "BMP3:$bmp"; done

export ASAN_OPTIONS=detect_leaks=0
# Where the right click on the caption falls (the window stands at 200,150).
menu_x=350 menu_y=160
"$probe" render "$work/skin1/skin.ini" "$work/reference.png" >"$work/reference.env" \
  || fail "the headless rendering failed"
"$probe" render "$work/skin2/skin.ini" "$work/reference-skin2.png" >/dev/null \
  || fail "the headless rendering of the second skin failed"
"$probe" render "$work/skin1/skin.ini" "$work/reference-menu.png" menu "$menu_x" "$menu_y" >"$work/reference-menu.env" \
  || fail "the headless rendering of the menu failed"
# shellcheck disable=SC1091
. "$work/reference.env"
REF_WINDOW=$WINDOW_RECT
REF_CAPTION=$CAPTION_RECT
# shellcheck disable=SC1091
. "$work/reference-menu.env"
REF_MENU=$MENU_RECT

# ---- the desktop ---------------------------------------------------------------------------
# The window manager's own Alt+Space (its window menu) would take the key
# before the program hears it: the test runs openbox without that binding.
openbox_config=()
if [ -f /etc/xdg/openbox/rc.xml ]; then
  sed '/<keybind key="A-space">/,/<\/keybind>/d' /etc/xdg/openbox/rc.xml >"$work/openbox-rc.xml"
  openbox_config=(--config-file "$work/openbox-rc.xml")
fi
# Starts Xvfb on a free display and openbox on it. On a machine shared with
# other tests a display number can be taken between Xvfb choosing it and a
# client connecting; then the pair is stopped and started again.
start_desktop() {
  rm -f "$work/display"
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -br -nolisten tcp >>"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  pids+=($xvfb_pid)
  exec 3>&-
  for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || return 1
  export DISPLAY=":$(head -n1 "$work/display")"
  for _ in $(seq 50); do xprop -root >/dev/null 2>&1 && break; sleep 0.1; done
  xprop -root >/dev/null 2>&1 || return 1
  openbox --sm-disable "${openbox_config[@]}" >>"$work/openbox.log" 2>&1 &
  openbox_pid=$!
  pids+=($openbox_pid)
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$openbox_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
stop_desktop() {
  for p in "${openbox_pid:-}" "${xvfb_pid:-}"; do
    [ -n "$p" ] || continue
    kill "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  pids=()
}
started=0
for _ in 1 2 3; do
  if start_desktop; then started=1; break; fi
  stop_desktop
done
[ "$started" = 1 ] || fail "Xvfb with openbox did not start (see xvfb.log and openbox.log)"

"$probe" show "$work/skin1/skin.ini" "$ctl" >"$work/probe-output.log" 2>&1 &
probe_pid=$!
pids+=($probe_pid)

# ---- talking to the probe ------------------------------------------------------------------------
echo 0 >"$ctl/asked"
# Sends a command to the probe and prints its answer. (Commands are numbered
# in a file: callers read the answer in a subshell.)
ask() {
  local asked
  asked=$(($(cat "$ctl/asked") + 1))
  echo "$asked" >"$ctl/asked"
  echo "$asked $*" >"$ctl/command.tmp"
  mv "$ctl/command.tmp" "$ctl/command"
  for _ in $(seq 200); do
    if line=$(grep -m1 "^$asked " "$ctl/probe.log" 2>/dev/null); then
      echo "${line#* }"
      return 0
    fi
    sleep 0.05
  done
  fail "the probe did not answer '$*'"
}
# Reads the probe's state into RECT, WINDOW_STATE, ROLLED_UP, MENU_OPEN, MENUS, MENU_RECT, MIN_FRAME_HEIGHT.
read_state() { eval "$(ask state)"; }
# Repeats a test (a shell expression) until it holds, for up to $1 seconds.
wait_until() {
  local tries=$(($1 * 20))
  shift
  for _ in $(seq "$tries"); do
    eval "$1" && return 0
    sleep 0.05
  done
  return 1
}
# The probe's state holds the expression.
state_is() { read_state && eval "$1"; }
# The top-left corner and the size of a WxH+X+Y rectangle.
rect_parts() {
  local r=$1
  RW=${r%%x*}
  r=${r#*x}
  RH=${r%%+*}
  r=${r#*+}
  RX=${r%%+*}
  RY=${r#*+}
}
caption_point() {
  rect_parts "$RECT"
  echo "$((RX + 150)) $((RY + 10))"
}
rest_pointer() { xdotool mousemove 1000 740; }
shoot() { import -window root "$work/$1.png"; }
# Pixels that differ between a region of a screenshot and a region (of the
# same size) of a reference picture. An ImageMagick error (a picture missing
# or unreadable) is no count of pixels: it ends the test, also from inside a
# command substitution assigned to a variable.
difference() {
  local out status=0
  convert "$work/$1.png" -crop "$2" +repage "$work/cut-a.png" || { echo "FAIL: cannot cut $work/$1.png" >&2; exit 1; }
  convert "$3" -crop "$4" +repage "$work/cut-b.png" || { echo "FAIL: cannot cut $3" >&2; exit 1; }
  out=$(compare -metric AE "$work/cut-a.png" "$work/cut-b.png" null: 2>&1) || status=$?
  if [ "$status" -gt 1 ] || ! [[ $out =~ ^[0-9]+$ ]]; then
    echo "FAIL: ImageMagick could not compare $work/$1.png with $3: $out" >&2
    exit 1
  fi
  echo "$out"
}
# Shoots the screen until the window (at $RECT) looks as in the reference
# window of the picture $1, for up to $2 seconds; saves the shot as $3.
wait_window_like() {
  local ref=$1 seconds=$2 name=$3
  for _ in $(seq $((seconds * 5))); do
    shoot "$name"
    [ "$(difference "$name" "$RECT" "$ref" "$REF_WINDOW")" = 0 ] && return 0
    sleep 0.1
  done
  return 1
}
x_geometry() {
  eval "$(xdotool getwindowgeometry --shell "$xid")"
  echo "${WIDTH}x${HEIGHT}+${X}+${Y}"
}
expect_menu() {
  local want=$1 got
  wait_until 5 'grep -q "^MENU " "$ctl/probe.log"' || fail "the system menu did not open"
  got=$(grep "^MENU " "$ctl/probe.log" | tail -n1)
  got=${got#MENU }
  [ "$got" = "$want" ] || fail "the system menu holds '$got', expected '$want'"
  sed -i '/^MENU /d' "$ctl/probe.log"
}
close_menu() {
  xdotool key Escape
  wait_until 5 'state_is "[ \$MENU_OPEN = 0 ] && [ \$MENUS = 0 ]"' || fail "Escape did not close the system menu"
}

# ---- shown as on the headless screen ----------------------------------------------------------
xid=""
for _ in $(seq 300); do
  xid=$(xdotool search --onlyvisible --name '^Mirvo ' 2>/dev/null | head -n1 || true)
  [ -n "$xid" ] && break
  sleep 0.05
done
[ -n "$xid" ] || fail "the skinned window did not appear"
rest_pointer
read_state
[ "$RECT" = "$REF_WINDOW" ] || fail "the window is at $RECT, the reference at $REF_WINDOW"
wait_until 5 '[ "$(x_geometry)" = "$RECT" ]' || fail "the desktop shows the window at $(x_geometry), the program at $RECT"
wait_window_like "$work/reference.png" 10 shown || fail "the window differs from the headless rendering"
cp "$work/shown.png" "$work/1-shown.png"
ok "the skinned window looks as the headless rendering ($RECT)"

# ---- the system menu ------------------------------------------------------------------------
# Minimise, maximise, roll-up and minimise-to-tray for a normal window with
# every caption button, then the menu's own items, then close.
normal_menu='最小化(&n)|最大化(&x)|向上卷拢(&l)|最小化到图标(&T)|-|关于...|-|关闭(&C)'
xdotool mousemove "$menu_x" "$menu_y" click 3
expect_menu "$normal_menu"
wait_until 5 'state_is "[ \$MENUS = 1 ]"' || fail "no menu window shows"
rect_parts "$MENU_RECT"
[ "$RX,$RY" = "$menu_x,$menu_y" ] || fail "the system menu stands at $MENU_RECT, not at the pointer ($menu_x,$menu_y)"
[ "$MENU_RECT" = "$REF_MENU" ] || fail "the system menu is $MENU_RECT, the headless one $REF_MENU"
same=0
for _ in $(seq 25); do
  shoot menu
  [ "$(difference menu "$MENU_RECT" "$work/reference-menu.png" "$REF_MENU")" = 0 ] && { same=1; break; }
  sleep 0.2
done
[ "$same" = 1 ] || fail "the system menu differs from the headless rendering in $(difference menu "$MENU_RECT" "$work/reference-menu.png" "$REF_MENU") pixels"
cp "$work/menu.png" "$work/2-system-menu.png"
ok "a right click on the caption shows the skinned system menu at the pointer: ${normal_menu//|/, }"
close_menu

sysmenu=$(ask object sysmenubutton)
sysmenu=${sysmenu#OBJECT=}
[ "$sysmenu" != none ] || fail "the window has no system-menu button"
xdotool windowactivate --sync "$xid" 2>/dev/null || true
xdotool key alt+space
wait_until 5 'state_is "[ \$MENUS = 1 ]"' || fail "Alt+Space did not open the system menu"
expect_menu "$normal_menu"
rect_parts "$sysmenu"
button_left=$RX button_bottom=$((RY + RH))
rect_parts "$MENU_RECT"
[ "$RX,$RY" = "$button_left,$button_bottom" ] \
  || fail "Alt+Space shows the menu at $MENU_RECT, not under the system-menu button ($sysmenu)"
shoot 3-alt-space-menu
ok "Alt+Space shows it under the system-menu button ($sysmenu)"
close_menu

# ---- dragging the caption ---------------------------------------------------------------------
# Drags the caption by (dx, dy) in $3 quick steps, one xdotool command: the
# moves queue up faster than the program reads them.
# A drag starts once the window has the keyboard focus back (a closed menu
# returns it a moment later), as a user's drag would: the window system
# handles the press as a click into an active window.
drag_by() {
  local dx=$1 dy=$2 steps=$3 x y
  wait_until 5 '[ "$(xdotool getwindowfocus 2>/dev/null)" = "$xid" ]' || fail "the window did not get the input focus back"
  read -r x y < <(caption_point)
  local cmd=(xdotool mousemove "$x" "$y" mousedown 1)
  for i in $(seq "$steps"); do cmd+=(mousemove $((x + dx * i / steps)) $((y + dy * i / steps))); done
  "${cmd[@]}" mouseup 1
}
expect_rect() {
  want=$1
  wait_until 5 'state_is "[ \"\$RECT\" = \"\$want\" ]"' || fail "$2: the window is at $RECT, expected $want"
  wait_until 5 '[ "$(x_geometry)" = "$want" ]' || fail "$2: the desktop shows the window at $(x_geometry), expected $want"
}
drag_by 100 50 10
expect_rect 400x300+300+200 "a quick drag by (100, 50)"
ok "a quick drag of the caption by (100, 50) moves the window exactly that far"

work_area=$(xprop -root _NET_WORKAREA | sed 's/.*= //' | cut -d, -f1-4 | tr -d ' ')
IFS=, read -r wa_x wa_y wa_w wa_h <<<"$work_area"
drag_by $((wa_x + 10 - 300)) 0 5
expect_rect "400x300+$((wa_x + 10))+200" "dropped 10 pixels from the work area's left edge"
ok "dropped 10 pixels from the work area's left edge, the window stays there"
drag_by -1 0 1
expect_rect "400x300+$wa_x+200" "dropped 9 pixels from the work area's left edge"
rest_pointer
shoot 4-snapped
ok "dropped 9 pixels from it, the window snaps to the edge"

# ---- maximise and restore with a double click -------------------------------------------------
normal_rect=$RECT
# Maximised fills the work area; a work area as large as the screen is kept
# 1 pixel inside, so that a hidden panel at the edge can still be reached.
if [ "$work_area" = "0,0,1024,768" ]; then
  max_rect="$((wa_w - 2))x$((wa_h - 2))+$((wa_x + 1))+$((wa_y + 1))"
else
  max_rect="${wa_w}x${wa_h}+${wa_x}+${wa_y}"
fi
read -r x y < <(caption_point)
xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
expect_rect "$max_rect" "a double click on the caption"
[ "$WINDOW_STATE" = maximized ] || fail "a double click on the caption left the window $WINDOW_STATE"
rest_pointer
shoot 5-maximised
ok "a double click on the caption maximises the window to $max_rect (work area $work_area)"

read -r x y < <(caption_point)
xdotool mousemove "$x" "$y" click 3
expect_menu '最小化(&n)|还原(&R)|向上卷拢(&l)|最小化到图标(&T)|-|关于...|-|关闭(&C)'
close_menu
ok "maximised, the system menu offers restore in place of maximise"

sleep 0.6 # the next press must not make a double click with the menu's right click
xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
expect_rect "$normal_rect" "a second double click on the caption"
[ "$WINDOW_STATE" = normal ] || fail "a second double click left the window $WINDOW_STATE"
rest_pointer
wait_window_like "$work/reference.png" 5 restored || fail "the restored window differs from the headless rendering"
ok "another double click restores it exactly ($normal_rect), painted as before"

# ---- roll-up -------------------------------------------------------------------------------------
[ "$(ask maximize off)" = ok ] || fail "the probe did not take the maximise button off"
sleep 0.6
read -r x y < <(caption_point)
xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
wait_until 5 'state_is "[ \$ROLLED_UP = 1 ]"' || fail "a double click without the maximise button did not roll up"
rect_parts "$normal_rect"
expect_rect "${RW}x${MIN_FRAME_HEIGHT}+${RX}+${RY}" "rolled up"
rest_pointer
shoot 6-rolled-up
ok "without the maximise button a double click rolls the window up to the frame alone (height $MIN_FRAME_HEIGHT)"
read -r x y < <(caption_point)
xdotool mousemove "$x" "$y" click 3
expect_menu '最小化(&n)|还原(&R)|最小化到图标(&T)|-|关于...|-|关闭(&C)'
close_menu
ok "rolled up, the system menu offers restore in place of roll-up"
sleep 0.6
xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
wait_until 5 'state_is "[ \$ROLLED_UP = 0 ]"' || fail "a second double click did not roll the window down"
expect_rect "$normal_rect" "rolled down"
ok "another double click rolls it down ($normal_rect)"
[ "$(ask maximize on)" = ok ] || fail "the probe did not put the maximise button back"

# ---- minimise and restore through the desktop -------------------------------------------------
rest_pointer
wait_window_like "$work/reference.png" 5 before-minimise || fail "the window differs from the headless rendering before minimising"
minimise=$(ask object minbutton)
rect_parts "${minimise#OBJECT=}"
xdotool mousemove $((RX + RW / 2)) $((RY + RH / 2)) click 1
wait_until 5 'xprop -id "$xid" WM_STATE | grep -q Iconic' || fail "the minimise button did not iconify the window"
xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$xid")" || fail "the iconified window left the window list"
rest_pointer
shoot 7-minimised
changed=$(difference 7-minimised "$RECT" "$work/reference.png" "$REF_WINDOW")
[ "$changed" -gt 0 ] || fail "the window still shows while minimised"
ok "the minimise button iconifies the window (WM_STATE Iconic, still in the window list)"
xdotool windowactivate "$xid" 2>/dev/null || true
wait_until 5 'xprop -id "$xid" WM_STATE | grep -q Normal' || fail "activating the window did not bring it back"
wait_window_like "$work/reference.png" 5 8-restored || fail "the window restored from the desktop is not painted as before"
ok "activated from the desktop it comes back, painted as before"

# ---- a second skin at run time -------------------------------------------------------------------
[ "$(ask skin "$work/skin2/skin.ini")" = ok ] || fail "the probe could not load the second skin"
wait_window_like "$work/reference-skin2.png" 5 9-second-skin || fail "the frame in the second skin differs from its headless rendering"
rect_parts "$REF_CAPTION"
caption_height=$RH
rect_parts "$RECT"
screen_caption="${RW}x${caption_height}+$RX+$RY"
changed=$(difference 9-second-skin "$screen_caption" "$work/reference.png" "$REF_CAPTION")
[ "$changed" -gt 1000 ] || fail "the caption changed in only $changed pixels with the second skin"
ok "a second skin loaded at run time redraws the frame as its headless rendering ($changed caption pixels changed)"

[ "$(ask quit)" = ok ] || fail "the probe did not take the quit command"
for _ in $(seq 100); do kill -0 "$probe_pid" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$probe_pid" 2>/dev/null; then fail "the probe did not end"; fi
wait "$probe_pid" || fail "the probe ended with status $?"
passed=1
echo "PASS: the skinned window behaves on the desktop"

#!/usr/bin/env bash
# Installs the built program into a scratch HOME and a scratch PREFIX, checks
# what landed where, that the installed command answers and the desktop
# entry validates, and that uninstalling leaves nothing behind (but the
# user's word database, unless asked).
#
#   run-install.sh <source dir> <build dir>
set -euo pipefail
source_dir=$1
build_dir=$2
install_program="$source_dir/scripts/install-program"

# The program's icon (dat/icons/mirvodict-<N>.png) must be installed into
# the icon theme whenever the source tree has it; set this to 1 to require
# the icon even when it is missing.
icons_required=1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect_file() { [ -f "$1" ] || fail "missing $1"; }

# Every file and link under a folder, one per line, relative to it.
leftovers() { (cd "$1" && find . \( -type f -o -type l \) | sort); }

check_icons() {
  local icons_dir=$1 size
  if [ "$icons_required" = 1 ] || [ -d "$source_dir/dat/icons" ]; then
    for size in 16 32 48 128; do
      expect_file "$icons_dir/hicolor/${size}x${size}/apps/mirvodict.png"
      cmp -s "$source_dir/dat/icons/mirvodict-$size.png" "$icons_dir/hicolor/${size}x${size}/apps/mirvodict.png" ||
        fail "the ${size}x${size} icon is not the program's"
    done
  fi
}

check_desktop_entry() {
  local entry=$1 program=$2
  expect_file "$entry"
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
  grep -qx 'Name=Mirvo英语小词典' "$entry" || fail "the entry's name is not Mirvo英语小词典"
  grep -qx 'Categories=Office;Dictionary;' "$entry" || fail "the entry's categories are not Office;Dictionary;"
  grep -qx 'Icon=mirvodict' "$entry" || fail "the entry does not name the icon"
  # The path is quoted when it holds a blank; undo that to compare.
  local exec
  exec=$(sed -n '/^\[Desktop Entry\]/,/^\[/s/^Exec=//p' "$entry")
  exec=${exec#\"}
  exec=${exec%\"}
  [ "$exec" = "$program" ] || fail "the entry starts '$exec', not $program"
  # The action that looks up the selected text, through the command front.
  grep -qx 'Actions=LookUpSelection;' "$entry" || fail "the entry lists no action"
  local action
  action=$(sed -n '/^\[Desktop Action LookUpSelection\]/,/^\[/p' "$entry")
  grep -qx 'Name=查选中的词' <<<"$action" || fail "the action's name is not 查选中的词"
  exec=$(sed -n 's/^Exec=//p' <<<"$action")
  exec=${exec% --selection}
  exec=${exec#\"}
  exec=${exec%\"}
  [ "$exec" = "$(dirname -- "$program")/mirvodict-cli" ] || fail "the action runs '$exec', not the command front"
}

check_command_answers() {
  local command=$1 out status
  out=$("$command" -l apple) && status=0 || status=$?
  [ "$status" = 0 ] || fail "'mirvodict -l apple' ended with $status"
  [[ $out == apple$'\t'* ]] || fail "'mirvodict -l apple' printed: ${out:0:80}"
  "$command" -l qqxqzz >/dev/null && status=0 || status=$?
  [ "$status" = 1 ] || fail "'mirvodict -l qqxqzz' ended with $status, not 1"
  "$command" -l apple pie >/dev/null 2>"$work/usage.err" && status=0 || status=$?
  [ "$status" = 2 ] && [ -s "$work/usage.err" ] || fail "a usage error ended with $status"
}

# ---- for the user, with a blank in HOME's path ------------------------------
home="$work/home dir"
mkdir -p "$home"
(
  export HOME="$home"
  unset PREFIX XDG_DATA_HOME
  "$install_program" install "$build_dir" >"$work/install.log"
) || fail "install for the user failed: $(cat "$work/install.log")"
app="$home/.local/share/mirvodict"
[ -x "$app/mirvodict" ] || fail "no program in $app"
expect_file "$app/dat/WordLib.dat"
expect_file "$app/dat/skin1/skin.ini"
[ -L "$home/.local/bin/mirvodict" ] || fail "no command link in ~/.local/bin"
check_desktop_entry "$home/.local/share/applications/mirvodict.desktop" "$app/mirvodict"
check_icons "$home/.local/share/icons"
check_command_answers "$home/.local/bin/mirvodict"
check_command_answers "$app/mirvodict"

# Without a display the window says so at once, naming what to set.
status=0
timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY "$home/.local/bin/mirvodict" 2>"$work/nodisplay.err" || status=$?
[ "$status" != 0 ] && [ "$status" != 124 ] || fail "without a display the program ended with $status"
grep -q 'DISPLAY' "$work/nodisplay.err" || fail "without a display it did not name DISPLAY: $(cat "$work/nodisplay.err")"

# A second install keeps the user's words.
echo "the user's own words" >"$app/dat/WordLib.dat"
( export HOME="$home"; unset PREFIX XDG_DATA_HOME; "$install_program" install "$build_dir" >/dev/null ) ||
  fail "the second install failed"
[ "$(cat "$app/dat/WordLib.dat")" = "the user's own words" ] || fail "a second install replaced the word database"

# Uninstalling keeps only the word database; PURGE=1 takes that too.
( export HOME="$home"; unset PREFIX XDG_DATA_HOME; "$install_program" uninstall >/dev/null ) || fail "uninstall failed"
[ "$(leftovers "$home")" = "./.local/share/mirvodict/dat/WordLib.dat" ] ||
  fail "uninstall left: $(leftovers "$home" | tr '\n' ' ')"
( export HOME="$home" PURGE=1; unset PREFIX XDG_DATA_HOME; "$install_program" uninstall >/dev/null ) ||
  fail "uninstall PURGE=1 failed"
[ -z "$(leftovers "$home")" ] || fail "uninstall PURGE=1 left: $(leftovers "$home" | tr '\n' ' ')"
[ ! -e "$app" ] || fail "uninstall PURGE=1 left the program's folder"

# ---- into a PREFIX: nothing goes to HOME -------------------------------------
home2="$work/home2"
prefix="$work/prefix"
mkdir -p "$home2"
( export HOME="$home2" PREFIX="$prefix"; "$install_program" install "$build_dir" >/dev/null ) ||
  fail "install into PREFIX failed"
[ -x "$prefix/share/mirvodict/mirvodict" ] || fail "no program under PREFIX"
check_desktop_entry "$prefix/share/applications/mirvodict.desktop" "$prefix/share/mirvodict/mirvodict"
check_icons "$prefix/share/icons"
check_command_answers "$prefix/bin/mirvodict"
[ -z "$(leftovers "$home2")" ] || fail "install into PREFIX wrote into HOME: $(leftovers "$home2" | tr '\n' ' ')"
( export HOME="$home2" PREFIX="$prefix" PURGE=1; "$install_program" uninstall >/dev/null ) ||
  fail "uninstall from PREFIX failed"
[ -z "$(leftovers "$prefix")" ] || fail "uninstall from PREFIX left: $(leftovers "$prefix" | tr '\n' ' ')"

[ "$failures" = 0 ] || exit 1
echo "install and uninstall: all checks passed"

#!/usr/bin/env bash
# Opens the main window with `quorvex-diag show` on a private X server, clicks the install
# button and then the close button as a user would, and checks what the window reported;
# then types into the install folder's native entry on the custom page.
# Usage: show_click_test.sh PATH/TO/quorvex-diag
set -euo pipefail

diag=$1
work=$(mktemp -d)
xvfb_pid=""
app_pid=""

cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- window output:" >&2
  cat "$work/out" >&2 || true
  echo "--- window errors:" >&2
  cat "$work/err" >&2 || true
  exit 1
}

# Polls `condition` every 0.1 s for up to `seconds`.
wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 10))
  while ! "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}

has_content() { [ -s "$1" ]; }
printed() { grep -qx "$1" "$work/out"; }
app_gone() { ! kill -0 "$app_pid" 2>/dev/null; }

# The server picks a free display number itself and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.err" &
xvfb_pid=$!
wait_for 20 has_content "$work/display" || fail "the X server did not start"
export DISPLAY=":$(head -n1 "$work/display")"

# Where a control is, from the laid-out tree: "CLASS NAME x,y,w,h".
centre_of() {
  "$diag" layout MainWnd.xml |
    awk -v name="$1" '$2 == name {
      split($3, r, ","); print int(r[1] + r[3] / 2), int(r[2] + r[4] / 2) }'
}
read -r install_x install_y < <(centre_of defaultInstallBtn)
read -r close_x close_y < <(centre_of closebtn)
read -r edit_x edit_y < <(centre_of installDirEdit)

# Starts `quorvex-diag show` with the given options and waits for its window; sets X, Y,
# WIDTH and HEIGHT.
open_window() {
  "$diag" show MainWnd.xml "$@" >"$work/out" 2>"$work/err" &
  app_pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" | head -n1) ||
    fail "the window did not appear"
  eval "$(xdotool getwindowgeometry --shell "$window")"
}

open_window
[ "$WIDTH" = 600 ] && [ "$HEIGHT" = 400 ] || fail "window is ${WIDTH}x${HEIGHT}, not 600x400"

xdotool mousemove --sync $((X + install_x)) $((Y + install_y)) click 1
wait_for 10 printed "click defaultInstallBtn" || fail "no click notification"

xdotool mousemove --sync $((X + close_x)) $((Y + close_y)) click 1
wait_for 10 app_gone || fail "the close button did not close the window"
wait "$app_pid" || fail "quorvex-diag show failed"
app_pid=""
printed "click closebtn" || fail "no click notification from the close button"
printed "closed 1" || fail "the window did not close with the close button's result"

open_window --page=1
xdotool mousemove --sync $((X + edit_x)) $((Y + edit_y)) click 1
xdotool type --delay 20 "ab"
wait_for 10 eval '[ "$(grep -cx "textchanged installDirEdit" "$work/out")" -ge 2 ]' ||
  fail "typing into the install folder raised no textchanged"
echo "ok"

#!/usr/bin/env bash
# The desktop program's windows on a real X server: where the value display and the help window
# open and how they stack against the cab window, with the openbox window manager and without
# any, and that Quit ends the process with every window. Picks run 1 with real mouse clicks and
# presses F5 and the Display menu with real key presses.
# Usage: xvfb_windows.sh VELMORIA_BINARY TEST_DATA_FOLDER    (exit 77: tools missing, skipped)
set -euo pipefail
binary=$1
fixtures=$2
for tool in Xvfb xdotool xprop xwininfo wmctrl openbox convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done

work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
cp -r "$fixtures" "$work/data"
data=$work/data
cp "$data/train_test.dat" "$data/train_201.dat"
cp "$data/line_test.dat" "$data/line_rapid1.dat"
printf 'Help\r\nkeys\r\n' >"$data/operation.dat"
mkdir -p "$data/image/title"
convert -size 640x480 xc:navy "$data/image/title/01.jpg"
# Quit ends the program normally, so a sanitizer build checks for leaks at its exit: keep
# that check for our code, but not for the session bus library Qt's X11 platform loads.
printf 'leak:libdbus-1.so\n' >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

cat >"$work/session.sh" <<'INNER'
#!/usr/bin/env bash
# One program session on the current display. MODE is openbox or bare (no window manager).
set -uo pipefail
binary=$1 data=$2 mode=$3 log=$4
export XDG_RUNTIME_DIR=$(mktemp -d); chmod 700 "$XDG_RUNTIME_DIR"
# The run history and the settings stay in the test's own folder.
export XDG_DATA_HOME=$XDG_RUNTIME_DIR/data XDG_CONFIG_HOME=$XDG_RUNTIME_DIR/config
# The program's texts in Japanese, as the checks below expect, whatever the machine's locale or
# a language chosen in a View menu there (C.UTF-8 is always installed and names no language).
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=C.UTF-8
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
for _ in $(seq 150); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "FAIL: no X display at $DISPLAY"; exit 1; }
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
wm=""
if [ "$mode" = openbox ]; then
  # On a loaded machine openbox can fail to connect to a server that has only just come up:
  # it is started again, a few times, before the test gives up.
  for attempt in 1 2 3 4 5; do
    openbox >"$log.openbox" 2>&1 &
    wm=$!
    for _ in $(seq 300); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id #' && break
      kill -0 "$wm" 2>/dev/null || break
      sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id #' && break
    kill "$wm" 2>/dev/null
    sleep 1
  done
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id #' ||
    { echo "FAIL: openbox did not start"; cat "$log.openbox"; exit 1; }
fi
# No browser for the program to find: HELP must say so.
env -u BROWSER -u DEFAULT_BROWSER PATH=/nonexistent "$binary" --data "$data" >"$log" 2>&1 &
pid=$!
cleanup() { kill "$pid" 2>/dev/null; [ -z "$wm" ] || kill "$wm" 2>/dev/null; }
fail() { echo "FAIL ($mode): $*"; xwininfo -root -tree | grep -E '"(Velmoria|Help|Value Display)"' || true; cleanup; exit 1; }

# X Y W H of a window's client area on the screen.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /^ *Width:/{w=$2} /^ *Height:/{h=$2} END{print x, y, w, h}'
}
# Waits for a mapped window with this exact name (and width, if given); prints its id.
find_window() {
  for _ in $(seq 150); do
    for w in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
      read -r _ _ ww _ < <(geometry "$w")
      if [ -z "${2:-}" ] || [ "$ww" = "$2" ]; then echo "$w"; return 0; fi
    done
    sleep 0.1
  done
  return 1
}
# The top-level windows from bottom to top, as decimal ids of the clients.
stacking() {
  if [ -n "$wm" ]; then
    xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,/ /g' | xargs -n1 printf '%d\n'
  else
    # xwininfo lists the root's children from the top down.
    xwininfo -root -children | awk '/^ +0x/{print $1}' | xargs -n1 printf '%d\n' | tac
  fi
}
# True when window $1 is stacked above window $2.
above() {
  local order i=0 a=-1 b=-1
  order=$(stacking)
  for w in $order; do
    [ "$w" = "$1" ] && a=$i
    [ "$w" = "$2" ] && b=$i
    i=$((i + 1))
  done
  [ "$a" -ge 0 ] && [ "$b" -ge 0 ] && [ "$a" -gt "$b" ]
}
# Waits until window $1 is above window $2.
wait_above() {
  for _ in $(seq 30); do above "$1" "$2" && return 0; sleep 0.1; done
  return 1
}
# The window of $1 lies wholly on the screen.
on_screen() {
  local x y w h
  read -r x y w h < <(geometry "$1")
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$screen_w" ] && [ $((y + h)) -le "$screen_h" ]
}
# The window of $1 does not cover the cab's menu bar and video area.
clear_of_video() {
  local x y w h
  read -r x y w h < <(geometry "$1")
  [ $((x + w)) -le "$cab_x" ] || [ "$x" -ge $((cab_x + 480)) ] ||
    [ $((y + h)) -le "$cab_y" ] || [ "$y" -ge $((cab_y + menu + 240)) ]
}
active() {
  [ -z "$wm" ] && return 0
  for _ in $(seq 30); do
    [ "$(xprop -root _NET_ACTIVE_WINDOW | sed 's/.*# //' | xargs printf '%d')" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

movie=$(find_window Velmoria 320) || fail "no movie-sized title window"
read -r x y _ _ < <(geometry "$movie")
xdotool mousemove $((x + 100)) $((y + 100)) click 1
title=$(find_window Velmoria 640) || fail "the title window did not grow"
sleep 1.5
read -r x y _ _ < <(geometry "$title")
xdotool mousemove $((x + 340 + 65)) $((y + 292 + 18)) click 1
cab=""
for _ in $(seq 150); do
  for c in $(xdotool search --onlyvisible --name '^Velmoria$' 2>/dev/null); do
    read -r _ _ ww hh < <(geometry "$c")
    if [ "$ww" = 640 ] && [ "$hh" -gt 440 ] && [ "$hh" -lt 480 ]; then cab=$c; break 2; fi
  done
  sleep 0.1
done
[ -n "$cab" ] || fail "no cab window"
read -r cab_x cab_y cab_w cab_h < <(geometry "$cab")
menu=$((cab_h - 440))
xdotool mousemove $((cab_x + 100)) $((cab_y + menu + 100)) click 1
sleep 0.3

# F5: the value display opens above the cab, beside it, on the screen.
xdotool key F5
values=$(find_window "Value Display") || fail "F5 shows no value display"
wait_above "$values" "$cab" || fail "the value display opened behind the cab: $(stacking | tr '\n' ' ')"
on_screen "$values" || fail "the value display is off the screen: $(geometry "$values")"
clear_of_video "$values" || fail "the value display covers the cab's menu or video: $(geometry "$values")"
active "$values" || fail "the value display was not activated"
if [ -n "$wm" ]; then
  read -r vx _ _ _ < <(geometry "$values")
  [ "$vx" -ge $((cab_x + cab_w)) ] || fail "the value display is not right of the cab: $vx"
  # It has the focus: F5 typed into it goes to the cab, which hides it.
  xdotool key F5
  for _ in $(seq 30); do xdotool search --onlyvisible --name '^Value Display$' >/dev/null || break; sleep 0.1; done
  xdotool search --onlyvisible --name '^Value Display$' >/dev/null && fail "F5 in the value display did not hide it"
  xdotool mousemove $((cab_x + 100)) $((cab_y + menu + 100)) click 1
  sleep 0.3
  xdotool key F5
  values=$(find_window "Value Display") || fail "F5 shows no value display the second time"
  wait_above "$values" "$cab" || fail "the value display reopened behind the cab"
fi

# The Display menu's first item: the help window, above the cab, beside it, on the screen.
xdotool mousemove $((cab_x + 100)) $((cab_y + menu + 100)) click 1
sleep 0.3
xdotool key alt+v; sleep 0.5; xdotool key Return
help=$(find_window Help) || fail "the menu shows no help window"
wait_above "$help" "$cab" || fail "the help window opened behind the cab: $(stacking | tr '\n' ' ')"
on_screen "$help" || fail "the help window is off the screen: $(geometry "$help")"
clear_of_video "$help" || fail "the help window covers the cab's menu or video: $(geometry "$help")"
active "$help" || fail "the help window was not activated"
if [ -n "$wm" ]; then
  read -r hx _ _ _ < <(geometry "$help")
  [ "$hx" -ge $((cab_x + cab_w)) ] || fail "the help window is not right of the cab: $hx"
fi

# Asked again while the cab lies above them, both come back on top.
xdotool windowraise "$cab"
sleep 0.3
if [ -z "$wm" ]; then
  above "$cab" "$help" || fail "the cab could not be raised over the help window"
fi
xdotool mousemove $((cab_x + 100)) $((cab_y + menu + 100)) click 1
sleep 0.3
xdotool key alt+v; sleep 0.5; xdotool key Return
wait_above "$help" "$cab" || fail "asked again, the help window stays behind the cab"
active "$help" || fail "asked again, the help window was not activated"
xdotool windowraise "$cab"
xdotool mousemove $((cab_x + 100)) $((cab_y + menu + 100)) click 1
sleep 0.3
xdotool key F5; sleep 0.5; xdotool key F5   # hidden, then shown again
values=$(find_window "Value Display") || fail "F5 twice shows no value display"
wait_above "$values" "$cab" || fail "shown again, the value display stays behind the cab"

# Back (the cab's close path) with both windows open, then Quit: the process ends.
if [ -n "$wm" ]; then
  wmctrl -i -c "$cab"
else
  kill "$pid"; wait "$pid" 2>/dev/null; echo "bare: windows placed and raised"; exit 0
fi
title=$(find_window Velmoria 640) || fail "the title window did not come back"
for _ in $(seq 50); do
  read -r _ _ _ th < <(geometry "$title")
  [ "$th" = 480 ] && break
  sleep 0.1
done
xdotool search --onlyvisible --name '^(Help|Value Display)$' >/dev/null ||
  fail "the help window or the value display did not stay open after Back"
# HELP without a browser on the desktop: a message box says so (its text is checked offscreen).
read -r x y _ _ < <(geometry "$title")
xdotool mousemove $((x + 499 + 25)) $((y + 445 + 9)) click 1
box=""
for _ in $(seq 50); do
  for b in $(xdotool search --onlyvisible --name '^Velmoria$' 2>/dev/null); do
    [ "$b" != "$title" ] && { box=$b; break 2; }
  done
  sleep 0.1
done
[ -n "$box" ] || fail "HELP without a browser showed no message"
[ -z "${SHOTS:-}" ] || import -window root "$SHOTS/help-without-browser.png"
wmctrl -i -a "$box"; sleep 0.3; xdotool key Return
for _ in $(seq 50); do xwininfo -id "$box" 2>/dev/null | grep -q IsViewable || break; sleep 0.1; done
xwininfo -id "$box" 2>/dev/null | grep -q IsViewable && fail "the message box did not close"
xdotool mousemove $((x + 555 + 25)) $((y + 445 + 9)) click 1
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "Quit did not end the program"
wait "$pid"
rc=$?
[ "$rc" = 0 ] || fail "Quit ended the program with $rc"
kill "$wm" 2>/dev/null
echo "openbox: windows placed, stacked and raised; Quit ended the program"
exit 0
INNER
chmod +x "$work/session.sh"

# An X server of its own for each session (other servers may be starting at the same moment).
server() { "$(dirname "$0")/with_xvfb.sh" "$@"; }
# A screen wide enough for both windows right of the cab, under openbox.
server 1920x1200x24 "$work/session.sh" "$binary" "$data" openbox \
  "$work/openbox.log" || { cat "$work/openbox.log"; exit 1; }
# A small screen and no window manager: the program places and raises the windows itself.
server 1024x768x24 "$work/session.sh" "$binary" "$data" bare \
  "$work/bare.log" || { cat "$work/bare.log"; exit 1; }

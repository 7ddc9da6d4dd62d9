# F1 re-creates the window at 1024x768, fullscreen on this 1024x768 screen; F1 again gives a
# 1024x768 window. Escape then ends the demo with exit code 0.
source "$(dirname "$0")/common.bash"
start_x_server
# Without a window manager a fullscreen window looks like any other that fills the screen;
# what tells them apart is the hidden mouse cursor.
fullscreen() { xdotool mousemove 300 300; sleep 0.3; [ "$("$BUILD/xwin" cursor)" = hidden ]; }
start_demo
answer "Start FullScreen?" Escape
first=$(wait_window KELVORIN) || fail "no demo window"
sleep 1
fullscreen "$first" && fail "the first window is fullscreen after No"
switch_display "$first" || fail "F1 did not tear the first window down"
second=$(wait_window KELVORIN) || fail "no window after the first F1"
sleep 1
read -r x y w h < <(geometry "$second")
[ "$x $y $w $h" = "0 0 1024 768" ] || fail "after F1 the window is ${w}x$h at $x,$y"
fullscreen "$second" || fail "after F1 the window is not fullscreen"
switch_display "$second" || fail "the second F1 did not tear the window down"
third=$(wait_window KELVORIN) || fail "no window after the second F1"
sleep 1
read -r x y w h < <(geometry "$third")
[ "$w $h" = "1024 768" ] || fail "after the second F1 the client area is ${w}x$h"
fullscreen "$third" && fail "after the second F1 the window is still fullscreen"
press "$third" Escape
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC"
! grep -q "ERROR" "$WORK/stderr" || fail "an error was reported"
echo PASS

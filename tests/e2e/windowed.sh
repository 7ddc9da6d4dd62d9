# No to the start question gives an 800x600 window at the screen's top-left; Escape ends the
# demo with exit code 0.
source "$(dirname "$0")/common.bash"
start_x_server
start_demo
answer "Start FullScreen?" Escape
id=$(wait_window KELVORIN) || fail "no demo window"
sleep 1
read -r x y w h < <(geometry "$id")
[ "$w $h" = "800 600" ] || fail "client area is ${w}x$h, not 800x600"
[ "$x $y" = "0 0" ] || fail "window at $x,$y, not at the top-left"
kill -0 "$DEMO_PID" || fail "the demo died"
press "$id" Escape
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC after Escape"
grep -q "^Start FullScreen?: Would You Like To Run In Fullscreen Mode?$" "$WORK/stderr" ||
  fail "the start question's line is missing on standard error"
! grep -q "^ERROR" "$WORK/stderr" || fail "an error was reported"
echo PASS

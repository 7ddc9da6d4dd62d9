# Yes on a screen without an 800x600 mode asks to use a window instead. Yes gives an 800x600
# window; No ends the program after "Program Will Now Close." with exit code 0.
source "$(dirname "$0")/common.bash"
start_x_server
start_demo
answer "Start FullScreen?" Return
answer "Vask GL" Return
id=$(wait_window KELVORIN) || fail "no window after Yes to Vask GL"
sleep 1
read -r x y w h < <(geometry "$id")
[ "$x $y $w $h" = "0 0 800 600" ] || fail "window is ${w}x$h at $x,$y"
grep -q "^Vask GL: The Requested Fullscreen Mode Is Not Supported By Your Video Card. Use Windowed Mode Instead?$" \
  "$WORK/stderr" || fail "the Vask GL line is missing"
press "$id" Escape
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC"

start_demo
answer "Start FullScreen?" Return
answer "Vask GL" Escape
answer "ERROR" Return
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC after No"
grep -q "^ERROR: Program Will Now Close.$" "$WORK/stderr" || fail "no 'Program Will Now Close.' line"
"$BUILD/xwin" find KELVORIN >/dev/null && fail "a demo window was opened"
echo PASS

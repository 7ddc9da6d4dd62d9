# kelvorin.exe under Wine, Yes to the start question on a 1024x768 screen, which has no 800x600
# mode: the display refuses the mode and the demo asks to use a window. Yes gives an 800x600
# window; No ends the program after "Program Will Now Close." with exit code 0.
source "$(dirname "$0")/wine.bash"
start_x_server
dir=$(run_dir)
QUESTION="The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?"
start_exe "$dir"
answer_box "Start FullScreen?" "Yes No" "Would You Like To Run In Fullscreen Mode?" Yes
answer_box "Vask GL" "Yes No" "$QUESTION" Yes
read -r x y w h style mode < <(demo_window KELVORIN)
[ "$x $y $w $h $style" = "0 0 800 600 overlapped" ] ||
  fail "after Yes to Vask GL the window is $style at $x,$y with a ${w}x$h client area"
[ "${mode%x*}" = 1024x768 ] || fail "the display mode is $mode"
id=$(wait_window KELVORIN) || fail "no X window titled KELVORIN"
press "$id" Escape
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC"
VASK_LINE="^Vask GL: The Requested Fullscreen Mode Is Not Supported By Your Video Card. Use Windowed Mode Instead?$"
demo_lines | grep -q "$VASK_LINE" || fail "the Vask GL line is missing on standard error"

start_exe "$dir"
answer_box "Start FullScreen?" "Yes No" "Would You Like To Run In Fullscreen Mode?" Yes
answer_box "Vask GL" "Yes No" "$QUESTION" No
answer_box ERROR OK "Program Will Now Close." OK
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC after No"
demo_lines | grep -q "^ERROR: Program Will Now Close.$" || fail "no 'Program Will Now Close.' line"
"$BUILD/xwin" find KELVORIN >/dev/null && fail "a demo window was opened"
echo PASS

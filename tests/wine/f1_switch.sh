# kelvorin.exe under Wine: F1 re-creates the window at 1024x768, fullscreen (a popup, after a
# display mode change to 1024x768, which this screen offers); F1 again gives a 1024x768 window,
# as much of it as fits: on this 1024x768 screen Windows trims a window with a caption and
# borders to the screen's height. The close box then ends the demo with exit code 0. (Wine
# accepts 16 bits on a deeper X screen but reports the screen's own depth.)
source "$(dirname "$0")/wine.bash"
start_x_server
start_exe "$(run_dir)"
answer_box "Start FullScreen?" "Yes No" "Would You Like To Run In Fullscreen Mode?" No
first=$(wait_window KELVORIN) || fail "no X window titled KELVORIN"
switch_display "$first" || fail "F1 did not tear the first window down"
read -r x y w h style mode < <(demo_window KELVORIN)
[ "$x $y $w $h $style ${mode%x*}" = "0 0 1024 768 popup 1024x768" ] ||
  fail "after F1 the window is $style at $x,$y with a ${w}x$h client area, display mode $mode"
second=$(wait_window KELVORIN) || fail "no X window after F1"
switch_display "$second" || fail "the second F1 did not tear the window down"
read -r x y w h style mode < <(demo_window KELVORIN)
[ "$x $y $w $style" = "0 0 1024 overlapped" ] && [ "$h" -le 768 ] ||
  fail "after the second F1 the window is $style at $x,$y with a ${w}x$h client area"
third=$(wait_window KELVORIN) || fail "no X window after the second F1"
read -r _ _ xw xh < <(geometry "$third")
[ "$xw $xh" = "$w $h" ] || fail "the X window shows ${xw}x$xh, Windows' client area is ${w}x$h"
"$BUILD/xwin" close "$third"
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC after the close box"
! demo_lines | grep -q "ERROR" || fail "an error was reported"
echo PASS

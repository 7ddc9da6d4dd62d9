# kelvorin-windows.zip holds kelvorin.exe, Data/ (the generated pictures and music) and
# README.txt. Unpacked, it plays under Wine: the start question, answered No, gives an 800x600
# window titled KELVORIN at the screen's top-left, which shows the scenes; Escape ends the demo
# with exit code 0.
source "$(dirname "$0")/wine.bash"
unpacked=$WORK/unpacked
mkdir "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$WIN_BUILD/kelvorin-windows.zip") || fail "could not unpack the zip"
[ "$(cd "$unpacked" && echo *)" = "Data README.txt kelvorin.exe" ] ||
  fail "the zip holds $(cd "$unpacked" && echo *)"
diff -r "$BUILD/Data" "$unpacked/Data" >/dev/null || fail "the zip's Data/ differs from the generated one"
grep -q "F1 .*switches between fullscreen and a window" "$unpacked/README.txt" ||
  fail "the zip's README.txt does not give the controls"

start_x_server
start_exe "$unpacked" "$unpacked/kelvorin.exe"
answer_box "Start FullScreen?" "Yes No" "Would You Like To Run In Fullscreen Mode?" No
read -r x y w h style mode < <(demo_window KELVORIN)
[ "$x $y $w $h $style" = "0 0 800 600 overlapped" ] ||
  fail "the window is $style at $x,$y with a ${w}x$h client area"
id=$(wait_window KELVORIN) || fail "no X window titled KELVORIN"
read -r _ _ w h < <(geometry "$id")
[ "$w $h" = "800 600" ] || fail "the X window shows ${w}x$h"
wait_lit "$id"
press "$id" Escape
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC after Escape"
demo_lines | grep -q "^Start FullScreen?: Would You Like To Run In Fullscreen Mode?$" ||
  fail "the start question's line is missing on standard error"
! demo_lines | grep -q "^ERROR\|^Error" || fail "an error was reported"
echo PASS

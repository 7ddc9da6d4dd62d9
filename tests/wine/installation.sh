# kelvorin.exe --window --loop under Wine, as an installation starts it: no start question, an
# 800x600 window at the screen's top-left that shows the scenes; Escape still ends the demo with
# exit code 0. --fullscreen with --window gets the usage box and exit status 2.
source "$(dirname "$0")/wine.bash"
USAGE="usage: kelvorin [--reduced-flashing] [--fullscreen | --window] [--loop]"
start_x_server
dir=$(run_dir)

start_demo "$dir" env WINEPREFIX="$PREFIX" "$WINE" "$WIN_BUILD/kelvorin.exe" --fullscreen --window
answer_box KELVORIN OK "$USAGE" OK
wait_exit
[ "$RC" = 2 ] || fail "exit code $RC after --fullscreen --window, not 2"

start_demo "$dir" env WINEPREFIX="$PREFIX" "$WINE" "$WIN_BUILD/kelvorin.exe" --window --loop
read -r x y w h style mode < <(demo_window KELVORIN)
[ "$x $y $w $h $style" = "0 0 800 600 overlapped" ] ||
  fail "the window is $style at $x,$y with a ${w}x$h client area"
id=$(wait_window KELVORIN) || fail "no X window titled KELVORIN"
wait_lit "$id"
press "$id" Escape
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC after Escape"
! demo_lines | grep -q "Start FullScreen?" || fail "the start question was asked"
! demo_lines | grep -q "^ERROR\|^Error" || fail "an error was reported"
echo PASS

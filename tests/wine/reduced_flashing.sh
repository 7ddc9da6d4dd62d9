# kelvorin.exe --reduced-flashing under Wine: the cube fan shows in every shot of its first
# blinking stretch. Any other argument gets the usage in a box captioned KELVORIN and on
# standard error, and exit status 2.
source "$(dirname "$0")/wine.bash"
source "$SRC/tests/e2e/fan.bash"
USAGE="usage: kelvorin [--reduced-flashing] [--fullscreen | --window] [--loop]"
start_x_server
dir=$(run_dir)

start_demo "$dir" env WINEPREFIX="$PREFIX" "$WINE" "$WIN_BUILD/kelvorin.exe" --bogus
answer_box KELVORIN OK "$USAGE" OK
wait_exit
[ "$RC" = 2 ] || fail "exit code $RC after --bogus, not 2"
demo_lines | grep -qxF "$USAGE" || fail "no usage line on standard error"

start_demo "$dir" env WINEPREFIX="$PREFIX" "$WINE" "$WIN_BUILD/kelvorin.exe" --reduced-flashing
answer_box "Start FullScreen?" "Yes No" "Would You Like To Run In Fullscreen Mode?" No
id=$(wait_window KELVORIN) || fail "no X window titled KELVORIN"
steady_fan "$id" || fail "a shot in the fan's blinking stretch is dark"
press "$id" Escape
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC after Escape"
! demo_lines | grep -q "^ERROR\|^Error" || fail "an error was reported"
echo PASS

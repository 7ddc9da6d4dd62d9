# kelvorin --reduced-flashing: the cube fan shows in every shot of its first blinking stretch,
# then Escape ends the demo with exit code 0. Any other argument gets the usage line and exit
# status 2 before anything opens.
source "$(dirname "$0")/common.bash"
source "$(dirname "$0")/fan.bash"

for args in --bogus "--reduced-flashing extra" -r; do
  "$BUILD/kelvorin" $args > "$WORK/out" 2> "$WORK/err"
  rc=$?
  [ "$rc" = 2 ] || fail "'$args' gave exit code $rc, not 2"
  [ "$(cat "$WORK/err")" = "usage: kelvorin [--reduced-flashing] [--fullscreen | --window] [--loop]" ] || fail "'$args' printed: $(cat "$WORK/err")"
  [ -s "$WORK/out" ] && fail "'$args' printed on standard output"
done

start_x_server
start_demo "$BUILD" "$BUILD/kelvorin" --reduced-flashing
answer "Start FullScreen?" Escape
id=$(wait_window KELVORIN) || fail "no demo window"
steady_fan "$id" || fail "a shot in the fan's blinking stretch is dark"
press "$id" Escape
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC after Escape"
! grep -q "^ERROR" "$WORK/stderr" || fail "an error was reported"
echo PASS

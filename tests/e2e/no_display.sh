# Without any display the demo ends by itself with exit code 0 and says why on standard error.
source "$(dirname "$0")/common.bash"
(unset DISPLAY WAYLAND_DISPLAY; export SDL_VIDEODRIVER=x11; start_demo; wait_exit 20; echo $RC > "$WORK/rc")
RC=$(cat "$WORK/rc")
[ "$RC" = 0 ] || fail "exit code $RC"
grep -q "^Start FullScreen?: Would You Like To Run In Fullscreen Mode?$" "$WORK/stderr" || fail "no start question line"
grep -q "^ERROR: Failed To Register The Window Class.$" "$WORK/stderr" || fail "no failure line"
echo PASS

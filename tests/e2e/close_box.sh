# The close box ends the demo through the quit, with exit code 0.
source "$(dirname "$0")/common.bash"
start_x_server
start_demo
answer "Start FullScreen?" Escape
id=$(wait_window KELVORIN) || fail "no demo window"
sleep 1
"$BUILD/xwin" close "$id" || fail "xwin close failed"
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC after the close box"
! grep -q "ERROR" "$WORK/stderr" || fail "an error was reported"
echo PASS

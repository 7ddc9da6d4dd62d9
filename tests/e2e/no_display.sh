# Without any display the demo ends by itself with exit code 0 and says why on standard error;
# it does not fall back to a video driver that has no windows.
source "$(dirname "$0")/common.bash"
start_demo
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC"
grep -q "^Start FullScreen?: Would You Like To Run In Fullscreen Mode?$" "$WORK/stderr" || fail "no start question line"
grep -q "^ERROR: Failed To Register The Window Class\. (.\+)$" "$WORK/stderr" || fail "no failure line with a reason"
echo PASS

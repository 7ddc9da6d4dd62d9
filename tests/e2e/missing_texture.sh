# With Data/soleil.bmp missing, start-up ends with "Initialization Failed." and exit code 0;
# the offline renderer reports the same line and exits 1. F1 reloads every picture from disk,
# so a picture removed while the demo runs makes the switch end the demo.
source "$(dirname "$0")/common.bash"
start_x_server
mkdir -p "$WORK/run/Data"
cp "$BUILD"/Data/* "$WORK/run/Data/"
rm "$WORK/run/Data/soleil.bmp"
start_demo "$WORK/run"
answer "Start FullScreen?" Escape
answer "ERROR" Return
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC"
grep -q "^ERROR: Initialization Failed.$" "$WORK/stderr" || fail "no 'Initialization Failed.' line"
! grep -q "^Error:" "$WORK/stderr" || fail "the loader showed a box for a missing file"

(cd "$WORK/run" && "$BUILD/kelvorin-capture" --until 0 --out "$WORK/frames") 2>"$WORK/capture.err"
rc=$?
[ "$rc" = 1 ] || fail "kelvorin-capture exit code $rc"
grep -q "^ERROR: Initialization Failed.$" "$WORK/capture.err" || fail "kelvorin-capture: no failure line"
mkdir -p "$WORK/live/Data"
cp "$BUILD"/Data/* "$WORK/live/Data/"
start_demo "$WORK/live"
answer "Start FullScreen?" Escape
id=$(wait_window KELVORIN) || fail "no demo window with every picture present"
sleep 1
rm "$WORK/live/Data/soleil.bmp"
switch_display "$id" || fail "F1 did not tear the window down"
answer "ERROR" Return
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC after the failed switch"
grep -q "^ERROR: Initialization Failed.$" "$WORK/stderr" || fail "the failed switch gave no 'Initialization Failed.' line"
echo PASS

# Minimise and restore. With no window manager on the test's X server, the test does what one
# does on an iconify request: it unmaps the window, and maps it again to restore it. While
# minimised the loop keeps running (it never waits, so it keeps using the processor); after the
# restore the window shows the scene of the clock, which ran on meanwhile (scenes 1 and 2,
# whose windows passed unseen, are skipped; the offscreen test checks that frame by frame).
source "$(dirname "$0")/common.bash"
source "$(dirname "$0")/scene.bash"
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$DEMO_PID/stat"; }

references 800 600 45000
start_x_server
start_demo
answer "Start FullScreen?" Escape
id=$(wait_window KELVORIN) || fail "no demo window"
start=$(date +%s%N)
sleep 2
xdotool windowunmap "$id"
sleep 1
before=$(cpu_ticks)
sleep 4
after=$(cpu_ticks)
kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended while minimised"
# Ticks are 1/100 s. A loop that waited for events would use next to none; this one swaps on,
# though on a busy machine with a starved X server it may get only a few per cent.
((after - before >= 4)) || fail "the loop used $((after - before))/100 s of processor in 4 s while minimised"
echo "minimised: the loop used $((after - before))/100 s of processor in 4 s"

# Restored past 30 s, a second before a time when scene 3 is steadily on screen (it blinks
# black now and then): the clock, which runs a little behind the wall time, is then in scene 3.
check=$(steady_time 30000)
wait_ms=$((check - 1000 - ($(date +%s%N) - start) / 1000000))
((wait_ms > 0)) || fail "too slow to restore on time"
sleep "$((wait_ms / 1000)).$(printf %03d $((wait_ms % 1000)))"
xdotool windowmap "$id"
sleep 1
read -r shown at < <(shown_scene "$id")
echo "after the restore: scene $shown (nearest frame at $at ms)"
[ "$shown" = "$(scene_at "$check")" ] ||
  fail "after the restore the window shows scene $shown (nearest frame at $at ms), not $(scene_at "$check")"

press "$id" Escape
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC"
! grep -q '^ERROR' "$WORK/stderr" || fail "an error was reported"
echo PASS

# Display-switch soak of the real demo, meant for the AddressSanitizer build: SWITCHES F1
# switches (default 50) while the scenes play, then Escape. It passes when the demo ends with
# exit code 0 and no sanitizer report, the scene on screen after the last switch is the one the
# clock calls for, and (from 30 switches on) the resident memory after the last switch is
# within 5 MB of that after the twentieth. Prints the figures.
source "$(dirname "$0")/../e2e/common.bash"
source "$(dirname "$0")/../e2e/scene.bash"
SWITCHES=${SWITCHES:-50}
[ "$SWITCHES" -ge 10 ] || fail "SWITCHES must be at least 10"

# Resident memory of the demo in kB once it has settled: the new window loads its textures
# after it shows, so the figure is taken when two readings half a second apart agree to 256 kB.
rss() {
  local last=0 now
  for _ in $(seq 40); do
    sleep 0.5
    now=$(awk '/^VmRSS:/ { print $2 }' "/proc/$DEMO_PID/status")
    ((now - last <= 256 && last - now <= 256)) && break
    last=$now
  done
  echo "$now"
}
elapsed_ms() { echo $((($(date +%s%N) - start) / 1000000)); }

# Reference frames first, while no clock runs, at the size of every window after a switch:
# far enough for the switches (a few seconds each under the sanitizers) and half a minute more.
references 1024 768 $((SWITCHES * 6000 + 30000))
start_x_server
start_demo
answer "Start FullScreen?" Escape
id=$(wait_window KELVORIN) || fail "no demo window"
# The clock starts a little later, once the textures and the music are loaded: the wall time
# from here is at most that much ahead of the demo's clock.
start=$(date +%s%N)
for ((i = 1; i <= SWITCHES; i++)); do
  sleep 0.5
  switch_display "$id" || fail "switch $i did not tear the window down"
  id=$(wait_window KELVORIN) || fail "no window after switch $i"
  kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended at switch $i"
  [ "$i" = 10 ] && rss10=$(rss)
  [ "$i" = 20 ] && rss20=$(rss)
done
echo "switches: $SWITCHES survived; resident memory after switch 10: $rss10 kB"
# The memory is compared from switch 20 on: until then the timeline reaches scenes 3 and 4,
# whose first frames add a few megabytes of their own (seen without any switch as well).
if ((SWITCHES >= 30)); then
  rss_last=$(rss)
  echo "resident memory after switch 20: $rss20 kB, after switch $SWITCHES: $rss_last kB" \
    "($((rss_last - rss20)) kB more than after switch 20, $((rss_last - rss10)) kB more than after switch 10)"
  ((rss_last - rss20 <= 5120 && rss20 - rss_last <= 5120)) ||
    fail "resident memory moved by $((rss_last - rss20)) kB between switch 20 and switch $SWITCHES"
fi

# On time: at a wall time at least 1 s ahead and past scene 0's windowed hand-overs (whose
# frames a switch may skip), where one scene draws from 4 s before to 1.5 s after, the window
# shows that scene. The wall time runs at most a few seconds ahead of the demo's clock.
now=$(elapsed_ms)
check=$(steady_time $((now + 1000 > 20000 ? now + 1000 : 20000)))
[ -n "$check" ] || fail "the switches took longer than the reference frames reach"
expected=$(scene_at "$check")
wait_ms=$((check - $(elapsed_ms)))
((wait_ms <= 0)) || sleep "$((wait_ms / 1000)).$(printf %03d $((wait_ms % 1000)))"
read -r shown at < <(shown_scene "$id")
echo "timeline: about $((check / 1000)) s after start the window shows scene $shown (nearest frame at $at ms); the clock calls for scene $expected"
[ "$shown" = "$expected" ] || fail "the window shows scene $shown, the clock calls for scene $expected"

quit_cleanly "$id"
echo PASS

# The installation soak: the real demo with --window --loop under its own Xvfb for MINUTES
# (default 60), its music through SDL's dummy output so that every pass loads and plays it again.
# It passes when the demo still runs at the end, its resident memory after the last pass is
# within 5 MB of that after the second, and Escape ends it with exit code 0 and no sanitizer
# report. Prints the resident memory after every pass.
source "$(dirname "$0")/../e2e/common.bash"
MINUTES=${MINUTES:-60}
PASS_S=191
passes=$((MINUTES * 60 / PASS_S))
((passes >= 3)) || fail "MINUTES must cover at least three passes of the demo"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

# Resident memory of the demo in kB.
rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$DEMO_PID/status"; }

start_x_server
start_demo "$BUILD" "$BUILD/kelvorin" --window --loop
id=$(wait_window KELVORIN) || fail "no demo window"
"$BUILD/xwin" find "Start FullScreen?" >/dev/null && fail "the start question was asked"
start=$(date +%s)
for ((i = 1; i <= passes; i++)); do
  # 10 s into the next pass, once its music is loaded and its first scenes drawn.
  waiting "pass $i to end"
  sleep $((start + i * PASS_S + 10 - $(date +%s)))
  kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended in pass $i"
  now=$(rss)
  echo "after pass $i ($((i * PASS_S / 60)) min): $now kB"
  ((i == 2)) && second=$now
done
((now - second <= 5120 && second - now <= 5120)) ||
  fail "resident memory moved by $((now - second)) kB between pass 2 and pass $passes"
echo "$passes passes; resident memory after pass 2: $second kB, after pass $passes: $now kB"

quit_cleanly "$id"
echo PASS

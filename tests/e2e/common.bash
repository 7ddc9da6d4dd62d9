# Shared steps of the end-to-end tests: start an X server of the test's own, start the real demo
# in a process group of its own, find its windows, answer its boxes with keys, and read its exit
# code and standard error. Whatever a test starts ends with it: at exit (or on INT or TERM) every
# demo's whole process group is killed, SDL's message-box children included, then the X server.
# A test that runs past E2E_LIMIT seconds is stopped and says what it was waiting for.
set -u
BUILD=${BUILD:?BUILD must point at the build directory}
E2E_LIMIT=${E2E_LIMIT:-240}
WORK=$(mktemp -d)
DEMO_PID=""
DEMO_GROUPS=()  # every demo started, each the leader of its own process group
XVFB_PID=""
WATCHDOG_PID=""
# No test reaches an outside display; start_x_server gives a test its own.
unset DISPLAY WAYLAND_DISPLAY

fail() {
  echo "FAIL: $*" >&2
  [ -f "$WORK/stderr" ] && sed 's/^/  demo stderr: /' "$WORK/stderr" >&2
  [ -s "$WORK/xvfb.log" ] && sed 's/^/  Xvfb: /' "$WORK/xvfb.log" >&2
  if [ -n "$DEMO_PID" ] && ! kill -0 "$DEMO_PID" 2>/dev/null; then
    wait "$DEMO_PID"
    echo "  the demo had ended with exit code $?" >&2
  fi
  exit 1
}

# waiting WHAT: notes what the test waits for now, for the time-limit message (in a file, since
# many steps run in command substitutions).
waiting() { echo "$*" > "$WORK/waiting"; }
waiting "the test's first step"

# living GROUP: prints the processes of a process group that have not ended (zombies aside).
living() { ps -A -o pid=,pgid=,stat= | awk -v g="$1" '$2 == g && $3 !~ /^Z/ { print $1 }'; }

# cleanup: ends everything this test started and checks that nothing of it is left.
cleanup() {
  local status=$? group left=""
  trap - EXIT INT TERM
  # Bash reports every killed job on standard error; those reports say nothing here.
  exec 3>&2 2>/dev/null
  if [ -n "$WATCHDOG_PID" ]; then kill "$WATCHDOG_PID" 2>/dev/null; wait "$WATCHDOG_PID"; fi
  # The demo itself too, in case it had not yet made its own group.
  for group in "${DEMO_GROUPS[@]}"; do kill -KILL -- "-$group" "$group" 2>/dev/null; done
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$XVFB_PID" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$XVFB_PID" 2>/dev/null
  fi
  wait 2>/dev/null
  # A killed process lingers until the kernel has torn it down; give it a moment.
  for _ in $(seq 50); do
    left=""
    for group in "${DEMO_GROUPS[@]}"; do left+=$(living "$group" | tr '\n' ' '); done
    [ -z "$left" ] && break
    sleep 0.1
  done
  if [ -n "$left" ]; then
    echo "FAIL: processes of the demo outlived the test: $left" >&3
    status=1
  fi
  rm -rf "$WORK"
  exit "$status"
}
trap cleanup EXIT
trap 'fail "interrupted while waiting for $(cat "$WORK/waiting")"' INT
trap 'fail "no result within $E2E_LIMIT s; waiting for $(cat "$WORK/waiting")"' TERM

# The time limit: the watchdog sends TERM to the test, then ends the test's children (the
# command in the foreground included), so that the TERM trap runs at once. Its output goes
# nowhere, so that it never holds the test's output open.
(
  trap 'kill $! 2>/dev/null; exit 0' TERM
  sleep "$E2E_LIMIT" &
  wait $!
  kill -TERM $$
  pkill -TERM -P $$
) >/dev/null 2>&1 &
WATCHDOG_PID=$!

# start_x_server [WxH]: starts an X server on a free display, with a 1024x768 screen (which has
# no 800x600 mode) or one of the size given, and makes it this test's DISPLAY. By default Xvfb resets whenever its last
# client leaves, and drops a client that connects during the reset: the demo, whose message-box
# child has just left, then finds no display. -noreset keeps it up. -r turns auto-repeat off:
# a key held past its delay on a busy machine would repeat into the window opened next.
start_x_server() {
  waiting "the X server to start"
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset -r 3>"$WORK/display" \
    >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  # The server writes its display number once it accepts connections.
  for _ in $(seq 300); do
    [ -s "$WORK/display" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || { cat "$WORK/xvfb.log" >&2; fail "Xvfb did not start"; }
    sleep 0.1
  done
  [ -s "$WORK/display" ] || fail "Xvfb gave no display number within 30 s"
  export DISPLAY=":$(cat "$WORK/display")"
}

# start_demo [DIR [COMMAND...]]: runs the demo (default the build's) in DIR (default the build
# directory) in the background, as the leader of a new process group and session.
start_demo() {
  local dir=${1:-$BUILD}
  [ $# -gt 1 ] && shift || set -- "$BUILD/kelvorin"
  (cd "$dir" && exec setsid "$@") 2>"$WORK/stderr" &
  DEMO_PID=$!
  DEMO_GROUPS+=("$DEMO_PID")
}

# wait_window TITLE [SECONDS]: prints the id of the newest mapped window with exactly this title.
wait_window() {
  local title=$1 limit=${2:-60} id
  waiting "a window titled '$title'"
  for _ in $(seq $((limit * 10))); do
    id=$("$BUILD/xwin" find "$title")
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$DEMO_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# press WINDOW KEY: gives the window the focus and types the key, held down for 0.4 s as a
# person would. The demo takes one event per frame and acts on F1 only in a frame without one:
# a release that follows the press at once is often taken first under load, and the F1 is lost.
press() {
  waiting "the key $2 to reach window $1"
  "$BUILD/xwin" focus "$1"
  sleep 0.2
  xdotool keydown "$2"
  sleep 0.4
  xdotool keyup "$2"
}

# switch_display WINDOW: holds F1 until the window goes; false when it stays. The loop acts on
# F1 only in a pass without a message, so a release taken in the very pass after the press
# (frames are slow on a busy machine or under the sanitizers) would cancel the switch.
switch_display() {
  "$BUILD/xwin" focus "$1"
  sleep 0.2
  xdotool keydown F1
  wait_gone "$1"
  local gone=$?
  xdotool keyup F1
  return $gone
}

# answer TITLE KEY: waits for a box and answers it.
answer() {
  local id
  id=$(wait_window "$1") || fail "no window titled '$1' appeared"
  sleep 0.3
  press "$id" "$2"
}

# quit_cleanly WINDOW: Escape ends the demo with exit code 0, and its standard error holds no
# error and no sanitizer report.
quit_cleanly() {
  press "$1" Escape
  wait_exit
  [ "$RC" = 0 ] || fail "exit code $RC after Escape"
  ! grep -qE 'Sanitizer|runtime error' "$WORK/stderr" || fail "a sanitizer report"
  ! grep -q '^ERROR' "$WORK/stderr" || fail "an error was reported"
}

# geometry WINDOW: prints "X Y WIDTH HEIGHT" of the window's client area on the screen.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print x, y, w, h}'
}

# wait_exit [SECONDS]: waits for the demo to end and sets RC to its exit code.
wait_exit() {
  local limit=${1:-60}
  waiting "the demo to end"
  for _ in $(seq $((limit * 10))); do
    if ! kill -0 "$DEMO_PID" 2>/dev/null; then
      wait "$DEMO_PID"; RC=$?; DEMO_PID=""; return 0
    fi
    sleep 0.1
  done
  fail "the demo did not end within $limit s"
}

# wait_gone WINDOW: waits until the window no longer exists.
wait_gone() {
  waiting "window $1 to go"
  for _ in $(seq 100); do xwininfo -id "$1" >/dev/null 2>&1 || return 0; sleep 0.1; done
  return 1
}

# first_sound FILE SKIP: the byte offset of the first stereo frame after SKIP that is not silent.
first_sound() {
  local at
  at=$(cmp -i "$2:0" "$1" /dev/zero 2>/dev/null | sed -n 's/.*differ: \(byte\|char\) \([0-9]*\).*/\2/p')
  [ -n "$at" ] || return 1
  echo $(( $2 + (at - 1) / 4 * 4 ))
}

# expect_music OUT MUSIC BYTES: OUT, the raw 16-bit stereo that the sound output received, holds
# the first BYTES of the music's samples (a plain WAV, MUSIC) as they are, after at most a second
# of silence; fails the test otherwise.
expect_music() {
  local out wav
  [ "$(dd if="$2" bs=1 skip=36 count=4 2>/dev/null)" = data ] || fail "unexpected WAV layout"
  [ -s "$1" ] || fail "the sound output received nothing"
  out=$(first_sound "$1" 0) || fail "the sound output received only silence"
  wav=$(first_sound "$2" 44) || fail "the music is silent"
  [ "$out" -lt $((44100 * 4)) ] || fail "the music started $((out / 4)) frames late"
  cmp -n "$3" -i "$out:$wav" "$1" "$2" >/dev/null || fail "the output does not start with the music"
}

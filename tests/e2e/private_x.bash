# Plays a demo command under an X server of its own: start_x, then play_and_quit COMMAND...;
# stop_x in the caller's EXIT trap ends the demo's whole session and the server. Every wait
# is bounded. Needs XWIN, the path of build/xwin.
XVFB_PID="" DEMO_PID="" RC=""

# start_x: starts Xvfb on a free display (1024x768) and exports DISPLAY. -noreset: otherwise
# the server resets when its last client leaves (the start question's box, xwin), and the demo
# connecting during that reset fails to open its window.
start_x() {
  local file n=""
  file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$file" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    n=$(tr -d '\n' < "$file")
    [ -n "$n" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$file"
  [ -n "$n" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$n
}

stop_x() {
  if [ -n "$DEMO_PID" ]; then kill -9 -- "-$DEMO_PID" 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  DEMO_PID="" XVFB_PID=""
}

# x_window TITLE: waits up to 30 s for a mapped window with this title and prints its id.
x_window() {
  local id
  for _ in $(seq 300); do
    id=$("$XWIN" find "$1") && { echo "$id"; return 0; }
    kill -0 "$DEMO_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# x_key WINDOW KEY: focuses the window and types the key.
x_key() {
  "$XWIN" focus "$1"
  sleep 0.3
  xdotool key "$2"
}

# play_and_quit COMMAND...: runs the command in a session of its own with standard error in
# $DEMO_STDERR, says No to the start question with Escape, waits for the KELVORIN window, then
# quits with Escape. Sets RC to the exit code; returns 1 with a message when a step fails.
play_and_quit() {
  local id
  setsid "$@" 2>"$DEMO_STDERR" &
  DEMO_PID=$!
  id=$(x_window "Start FullScreen?") || { echo "no start question" >&2; return 1; }
  x_key "$id" Escape
  id=$(x_window KELVORIN) || { echo "no KELVORIN window" >&2; return 1; }
  sleep 1
  kill -0 "$DEMO_PID" 2>/dev/null || { echo "the demo ended by itself" >&2; return 1; }
  x_key "$id" Escape
  for _ in $(seq 300); do
    if ! kill -0 "$DEMO_PID" 2>/dev/null; then
      wait "$DEMO_PID" && RC=0 || RC=$?
      DEMO_PID=""
      return 0
    fi
    sleep 0.1
  done
  echo "the demo did not end within 30 s of Escape" >&2
  return 1
}

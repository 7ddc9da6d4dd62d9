# Shared steps of the end-to-end tests: start the real demo under the test X server, find its
# windows, answer its boxes with keys, and read its exit code and standard error.
set -u
BUILD=${BUILD:?BUILD must point at the build directory}
WORK=$(mktemp -d)
trap 'kill_demo; rm -rf "$WORK"' EXIT
DEMO_PID=""

fail() { echo "FAIL: $*" >&2; [ -f "$WORK/stderr" ] && sed 's/^/  demo stderr: /' "$WORK/stderr" >&2; exit 1; }
kill_demo() { [ -n "$DEMO_PID" ] && kill -9 "$DEMO_PID" 2>/dev/null; DEMO_PID=""; }

# start_demo DIR: runs ./kelvorin in DIR (default the build directory) in the background.
start_demo() {
  local dir=${1:-$BUILD}
  (cd "$dir" && exec "$BUILD/kelvorin") 2>"$WORK/stderr" &
  DEMO_PID=$!
}

# wait_window TITLE [SECONDS]: prints the id of the newest mapped window with exactly this title.
wait_window() {
  local title=$1 limit=${2:-30} id
  for _ in $(seq $((limit * 10))); do
    id=$("$BUILD/xwin" find "$title")
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$DEMO_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# press WINDOW KEY: gives the window the focus and types the key.
press() {
  "$BUILD/xwin" focus "$1"
  sleep 0.2
  xdotool key "$2"
}

# answer TITLE KEY: waits for a box and answers it.
answer() {
  local id
  id=$(wait_window "$1") || fail "no window titled '$1' appeared"
  sleep 0.3
  press "$id" "$2"
}

# geometry WINDOW: prints "X Y WIDTH HEIGHT" of the window's client area on the screen.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print x, y, w, h}'
}

# wait_exit [SECONDS]: waits for the demo to end and sets RC to its exit code.
wait_exit() {
  local limit=${1:-30}
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
  for _ in $(seq 100); do xwininfo -id "$1" >/dev/null 2>&1 || return 0; sleep 0.1; done
  return 1
}

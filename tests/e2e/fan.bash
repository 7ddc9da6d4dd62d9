# Shots of the demo's window in the cube fan's first blinking stretch (26.5 to 28.5 s), for the
# tests of --reduced-flashing here and in tests/wine/. Needs common.bash.

# centre_lit WINDOW: whether the middle of the window (a fifth of it each way) has light.
centre_lit() {
  "$BUILD/xwin" lit "$1"
  local status=$?
  [ "$status" -lt 2 ] || fail "no pixels of window $1"
  return "$status"
}

# steady_fan WINDOW: from a window that has just appeared, waits until the banner has passed
# the middle (about 23.5 s into the demo), then for the fan there (26.5 s), and takes shots of
# it for 1.5 s. True when every shot shows the fan; the blinking leaves about half of them
# black.
steady_fan() {
  local shots=0 end
  waiting "the banner to leave the middle of the window"
  sleep 23
  for _ in $(seq 100); do centre_lit "$1" || break; sleep 0.1; done
  waiting "the cube fan in the middle of the window"
  for _ in $(seq 100); do centre_lit "$1" && break; sleep 0.05; done
  centre_lit "$1" || fail "no cube fan in the middle of the window"
  end=$((SECONDS + 2))
  while [ "$SECONDS" -lt "$end" ]; do
    centre_lit "$1" || return 1
    shots=$((shots + 1))
  done
  [ "$shots" -ge 10 ] || fail "only $shots shots of the fan in its blinking stretch"
}

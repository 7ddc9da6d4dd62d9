# Shared steps of the Wine tests: the end-to-end harness (tests/e2e/common.bash: an X server of
# the test's own, the demo in a process group of its own, a time limit) with kelvorin.exe run
# by wine64 in a Wine prefix of the test's own, a copy of the one made for this run
# ($WINE_MASTER, by make_prefix.sh). The copy has a wineserver of its own; at exit it is ended
# with every process it runs, before the X server goes, and none of them may be left.
WIN_BUILD=${WIN_BUILD:?WIN_BUILD must point at the Windows build directory}
WINE_MASTER=${WINE_MASTER:?WINE_MASTER must name the prefix made for this run}
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.bash"
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/common.bash"
PREFIX=$WORK/prefix

wine_cleanup() {
  local status=$? left=""
  trap - EXIT
  if [ -d "$PREFIX" ]; then
    WINEPREFIX=$PREFIX "$WINESERVER" -k 2>/dev/null
    for _ in $(seq 100); do
      left=$(prefix_processes "$PREFIX")
      [ -z "$left" ] && break
      sleep 0.1
    done
    if [ -n "$left" ]; then
      echo "FAIL: processes of the test's Wine prefix outlived it: $left" >&2
      status=1
    fi
  fi
  (exit "$status")
  cleanup
}
trap wine_cleanup EXIT

# The copy shares the master's files through hard links, all but the registry, which the
# wineserver rewrites (by renaming a new file over the old one, but a copy costs nothing).
[ -f "$WINE_MASTER/system.reg" ] || fail "no Wine prefix at $WINE_MASTER (the test wine.prefix makes it)"
cp -al "$WINE_MASTER" "$PREFIX" || fail "could not copy the Wine prefix"
for reg in "$WINE_MASTER"/*.reg; do
  rm "$PREFIX/${reg##*/}" && cp "$reg" "$PREFIX/" || fail "could not copy $reg"
done

# run_dir [MISSING...]: a working directory for the demo with the Windows build's Data/, less
# the named files; prints its path.
run_dir() {
  local dir
  dir=$(mktemp -d "$WORK/run.XXXX")
  cp -r "$WIN_BUILD/Data" "$dir/"
  for missing in "$@"; do rm "$dir/Data/$missing"; done
  echo "$dir"
}

# start_exe DIR [EXE]: starts kelvorin.exe (the build's, or EXE) under Wine in DIR, in a
# process group of its own.
start_exe() {
  start_demo "$1" env WINEPREFIX="$PREFIX" "$WINE" "${2:-$WIN_BUILD/kelvorin.exe}"
}

# probe ARGS...: runs tests/wine/probe.c in the test's prefix, beside the demo.
probe() {
  WINEPREFIX=$PREFIX "$WINE" "$WIN_BUILD/probe.exe" "$@"
}

# answer_box CAPTION BUTTONS TEXT ANSWER: waits for the box, checks its buttons ("Yes No" or
# "OK") and its text (\n for a line break), and presses ANSWER.
answer_box() {
  local shown expected
  waiting "a box captioned '$1'"
  shown=$(probe box "$1" "$4") || fail "no box captioned '$1' with a button $4"
  expected=$(printf '%b\nbuttons: %s' "$3" "$2")
  [ "$shown" = "$expected" ] || fail "the box '$1' shows:
$shown
and should show:
$expected"
}

# demo_window TITLE: waits for the demo's window and prints, as Windows sees it,
# "X Y CLIENT_WIDTH CLIENT_HEIGHT STYLE MODE".
demo_window() {
  waiting "a window titled '$1' of the class OpenGL"
  probe window "$1" || fail "no window titled '$1' of the class OpenGL"
}

# lit WINDOW: true when a shot of the window is not black: some pixels are brighter than a
# quarter of full scale.
lit() {
  import -window "$1" "$WORK/shot.png" 2>/dev/null || fail "no shot of window $1"
  [ "$(convert "$WORK/shot.png" -colorspace gray -threshold 25% -format '%[fx:mean > 0.001]' info:)" = 1 ]
}

# wait_lit WINDOW: waits up to 30 s for a picture that is not black (the first scene fades its
# banner in over half a second; a busy machine may take longer to show the first frames).
wait_lit() {
  waiting "a picture that is not black"
  for _ in $(seq 60); do lit "$1" && return 0; sleep 0.5; done
  fail "the window stayed black for 30 s"
}

# demo_lines: the demo's standard error, whose lines end in CR LF on Windows, with LF alone.
demo_lines() { tr -d '\r' <"$WORK/stderr"; }

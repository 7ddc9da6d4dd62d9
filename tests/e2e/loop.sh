# kelvorin --fullscreen --loop, as an installation starts it: no start question, a fullscreen
# window (on a screen of 800x600), and the demo over and over: the window shows the greetings,
# then the opening scenes again. The demo's clock runs 20 times as fast (faketime), so that a
# pass of 191 s takes under 10 s. Escape still ends it, with exit code 0.
source "$(dirname "$0")/common.bash"
source "$(dirname "$0")/scene.bash"
export SDL_AUDIODRIVER=dummy  # the music plays, and starts again with every pass
command -v faketime >/dev/null || fail "faketime is not installed (script/setup installs it)"
references 800 600 190000 5000
start_x_server 800x600
start_demo "$BUILD" faketime -f "+0 x20" "$BUILD/kelvorin" --fullscreen --loop
id=$(wait_window KELVORIN) || fail "no demo window"
"$BUILD/xwin" find "Start FullScreen?" >/dev/null && fail "the start question was asked"
read -r x y w h < <(geometry "$id")
[ "$x $y $w $h" = "0 0 800 600" ] || fail "the window is ${w}x$h at $x,$y"
# Without a window manager a fullscreen window looks like any other that fills the screen;
# what tells them apart is the hidden mouse cursor, once the window has the pointer.
waiting "the cursor to hide over the fullscreen window"
for _ in $(seq 20); do
  xdotool mousemove 300 300
  sleep 0.3
  [ "$("$BUILD/xwin" cursor)" = hidden ] && break
done
[ "$("$BUILD/xwin" cursor)" = hidden ] || fail "the window is not fullscreen: the cursor shows"

# Shots until one in the greetings is followed by one in the scenes of the first 80 s.
waiting "the greetings, then the opening scenes again"
greetings="" looped="" seen=""
for _ in $(seq 60); do
  read -r scene at < <(shown_scene "$id")
  seen+=" $scene"
  if [ "$scene" = 8 ]; then greetings=1
  elif [ -n "$greetings" ] && ((at < 80000)); then looped=1; break
  fi
done
[ -n "$looped" ] || fail "the demo did not start again; scenes seen:$seen"
echo "scenes seen:$seen"
kill -0 "$DEMO_PID" || fail "the demo died"

quit_cleanly "$id"
! grep -q "^Start FullScreen?\|^Vask GL" "$WORK/stderr" || fail "a box was shown"
echo PASS

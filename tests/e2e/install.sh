# Installs the build into a temporary prefix and runs the installed commands from another
# directory: the desktop entry's command shows the demo's window and ends with 0 on Escape; the
# offline renderer reads the installed Data/ and writes its frames where it was started.
source "$(dirname "$0")/common.bash"
work=$WORK
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'; }

prefix=$work/prefix
cmake --install "$BUILD" --prefix "$prefix" > "$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; fail "cmake --install failed"; }
for f in games/kelvorin games/kelvorin-capture libexec/kelvorin/kelvorin; do
  [ -x "$prefix/$f" ] || fail "$f is not an installed program"
done
[ "$(ls "$prefix"/share/kelvorin/Data/*.bmp | wc -l)" = 23 ] || fail "not 23 pictures in share/kelvorin/Data"
[ -s "$prefix/share/kelvorin/Data/Sons_WAV.txt" ] || fail "no sound list"
icon=$prefix/share/icons/hicolor/256x256/apps/kelvorin.png
[ "$(png_size "$icon")" = "256 256" ] || fail "the icon is not a 256x256 PNG"
for page in kelvorin kelvorin-capture; do
  gzip -t "$prefix/share/man/man6/$page.6.gz" 2>/dev/null || fail "no manual page $page.6.gz"
done
desktop=$prefix/share/applications/kelvorin.desktop
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
grep -qx "Categories=Game;.*" "$desktop" || fail "the desktop entry is not in the Game category"
grep -qx "Icon=kelvorin" "$desktop" || fail "the desktop entry does not name the icon"

# The menu's command line, found through PATH, started far from the data.
mkdir "$work/elsewhere"
cd "$work/elsewhere" || fail "no work directory"
start_x_server
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ -n "$exec_line" ] || fail "the desktop entry has no Exec line"
# shellcheck disable=SC2086  # the Exec line is a command and its words
PATH=$prefix/games:$PATH start_demo "$work/elsewhere" $exec_line
answer "Start FullScreen?" Escape
id=$(wait_window KELVORIN) || fail "no window from '$exec_line'"
sleep 1
kill -0 "$DEMO_PID" || fail "the demo ended by itself"
press "$id" Escape
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC after Escape"
! grep -q "^ERROR" "$WORK/stderr" || fail "the installed demo reported an error"

# Frames land in the starting directory, or under it for a relative --out; nothing is written
# into the installed tree.
"$prefix/games/kelvorin-capture" --at 60000 2>"$WORK/stderr" || fail "kelvorin-capture --at 60000"
[ "$(png_size frame-060000.png)" = "800 600" ] || fail "no 800x600 frame-060000.png in the starting directory"
"$prefix/games/kelvorin-capture" --size 160x120 --at 500 --out shots 2>"$WORK/stderr" ||
  fail "kelvorin-capture --out shots"
[ "$(png_size shots/frame-000500.png)" = "160 120" ] || fail "no 160x120 shots/frame-000500.png"
[ -z "$(find "$prefix" -name 'frame-*')" ] || fail "frames were written into the installed tree"
echo PASS

# The music is what the sound output receives from the start; without an audio device, or
# with the music file missing, the demo runs the same and ends normally.
source "$(dirname "$0")/common.bash"
start_x_server

music=$(head -n 1 "$BUILD/Data/Sons_WAV.txt")
[ -f "$BUILD/$music" ] || fail "the sound list names $music, which is not there"

play() {  # play SECONDS: runs the demo windowed for about that long, then Escape
  start_demo "${2:-$BUILD}"
  answer "Start FullScreen?" Escape
  local id
  id=$(wait_window KELVORIN) || fail "no demo window"
  sleep "$1"
  press "$id" Escape
  wait_exit
  [ "$RC" = 0 ] || fail "exit code $RC"
}

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/out.raw" play 3
# Whatever came before the music was silence, and what follows is the music sample for sample.
expect_music "$WORK/out.raw" "$BUILD/$music" 88200

SDL_AUDIODRIVER=no-such-driver play 1

mkdir -p "$WORK/run/Data"
cp "$BUILD"/Data/*.bmp "$WORK/run/Data/"
echo "Data/missing.wav" > "$WORK/run/Data/Sons_WAV.txt"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/silent.raw" play 1 "$WORK/run"
[ ! -s "$WORK/silent.raw" ] || [ -z "$(first_sound "$WORK/silent.raw" 0)" ] || fail "something played"
! grep -q "ERROR\|Error" "$WORK/stderr" || fail "a sound failure showed a box"
echo PASS

# The music is what the sound output receives from the start; without an audio device, or
# with the music file missing, the demo runs the same and ends normally.
source "$(dirname "$0")/common.bash"
start_x_server

# first_sound FILE SKIP: the byte offset of the first stereo frame that is not silent.
first_sound() {
  local at
  at=$(cmp -i "$2:0" "$1" /dev/zero 2>/dev/null | sed -n 's/.*differ: \(byte\|char\) \([0-9]*\).*/\2/p')
  [ -n "$at" ] || return 1
  echo $(( $2 + (at - 1) / 4 * 4 ))
}

music=$(head -n 1 "$BUILD/Data/Sons_WAV.txt")
[ -f "$BUILD/$music" ] || fail "the sound list names $music, which is not there"
# The music is a plain 16-bit stereo WAV: its samples follow the 44-byte header.
[ "$(dd if="$BUILD/$music" bs=1 skip=36 count=4 2>/dev/null)" = data ] || fail "unexpected WAV layout"

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
[ -s "$WORK/out.raw" ] || fail "the sound output received nothing"
out=$(first_sound "$WORK/out.raw" 0) || fail "the sound output received only silence"
wav=$(first_sound "$BUILD/$music" 44) || fail "the music is silent"
# Whatever came before the music was silence, and what follows is the music sample for sample.
[ "$out" -lt $((44100 * 4)) ] || fail "the music started $((out / 4)) frames late"
cmp -n 88200 -i "$out:$wav" "$WORK/out.raw" "$BUILD/$music" >/dev/null ||
  fail "the output does not start with the music"

SDL_AUDIODRIVER=no-such-driver play 1

mkdir -p "$WORK/run/Data"
cp "$BUILD"/Data/*.bmp "$WORK/run/Data/"
echo "Data/missing.wav" > "$WORK/run/Data/Sons_WAV.txt"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/silent.raw" play 1 "$WORK/run"
[ ! -s "$WORK/silent.raw" ] || [ -z "$(first_sound "$WORK/silent.raw" 0)" ] || fail "something played"
! grep -q "ERROR\|Error" "$WORK/stderr" || fail "a sound failure showed a box"
echo PASS

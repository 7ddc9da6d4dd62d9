# kelvorin.exe under Wine plays the music through waveOut from its first frame: what reaches
# the sound device (ALSA's default device, made a file here) is the music, sample for sample,
# after at most a moment of silence. With the music file missing the demo runs the same,
# silent, and shows no box. (The other Wine tests run without any sound device.)
source "$(dirname "$0")/wine.bash"
start_x_server

# alsa_to FILE: an ALSA configuration whose default device writes what it plays into FILE.
alsa_to() {
  printf '</usr/share/alsa/alsa.conf>\npcm.!default { type file slave.pcm "null" file "%s" format "raw" }\n' \
    "$1" >"$1.conf"
  echo "$1.conf"
}

# play DIR SECONDS: runs the demo windowed for about that long, then Escape.
play() {
  start_exe "$1"
  answer_box "Start FullScreen?" "Yes No" "Would You Like To Run In Fullscreen Mode?" No
  demo_window KELVORIN >/dev/null
  sleep "$2"
  local id
  id=$(wait_window KELVORIN) || fail "no X window titled KELVORIN"
  press "$id" Escape
  wait_exit
  [ "$RC" = 0 ] || fail "exit code $RC"
  ! demo_lines | grep -q "^ERROR\|^Error" || fail "a box was shown"
}

dir=$(run_dir)
ALSA_CONFIG_PATH=$(alsa_to "$WORK/out.raw") play "$dir" 2
expect_music "$WORK/out.raw" "$dir/$(head -n 1 "$dir/Data/Sons_WAV.txt")" 176400

echo "Data/missing.wav" >"$dir/Data/Sons_WAV.txt"
ALSA_CONFIG_PATH=$(alsa_to "$WORK/silent.raw") play "$dir" 1
[ ! -s "$WORK/silent.raw" ] || ! first_sound "$WORK/silent.raw" 0 >/dev/null || fail "something played"
echo PASS

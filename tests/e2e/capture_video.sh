# kelvorin-capture --video: what ffprobe reads from short videos, the first frame against the
# PNG of the same clock, the music's length as the default, and refusals that leave no file.
source "$(dirname "$0")/common.bash"
cd "$BUILD"
cap=$BUILD/kelvorin-capture

# probe FILE STREAM ENTRIES: one stream's entries as key=value lines.
probe() { ffprobe -v error -count_frames -select_streams "$2" -show_entries "stream=$3" -of default=noprint_wrappers=1 "$1"; }
# near A B TOLERANCE: |A - B| <= TOLERANCE.
near() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { d = a - b; exit !(d <= t && -d <= t) }'; }
# psnr A B: the mean PSNR in dB between two pictures of the same size.
psnr() { ffmpeg -v info -nostdin -i "$1" -i "$2" -lavfi psnr -f null - 2>&1 | sed -n 's/.*average:\([0-9.inf]*\).*/\1/p'; }
# only_files DIR NAMES...: the directory holds exactly these names, hidden ones included.
only_files() { local dir=$1; shift; [ "$(ls -A "$dir" | sort | xargs)" = "$(printf '%s\n' "$@" | sort | xargs)" ]; }

# An MP4 from clock 0: size, rate, frame count, codecs and an audio track as long as the video.
mkdir "$WORK/out"
$cap --video "$WORK/out/clip.mp4" --size 160x120 --fps 25 --until 2000 2> "$WORK/stderr" ||
  fail "a 2 s MP4 failed"
probe "$WORK/out/clip.mp4" v codec_name,pix_fmt,width,height,r_frame_rate,nb_read_frames > "$WORK/v"
[ "$(xargs < "$WORK/v")" = "codec_name=h264 width=160 height=120 pix_fmt=yuv420p r_frame_rate=25/1 nb_read_frames=50" ] ||
  fail "video stream: $(xargs < "$WORK/v")"
probe "$WORK/out/clip.mp4" a codec_name,duration > "$WORK/a"
grep -qx codec_name=aac "$WORK/a" || fail "audio stream: $(xargs < "$WORK/a")"
near "$(sed -n 's/duration=//p' "$WORK/a")" 2.0 0.03 || fail "audio lasts $(xargs < "$WORK/a"), not 2 s"
only_files "$WORK/out" clip.mp4 || fail "left beside the video: $(ls -A "$WORK/out")"
# Standard error is no terminal here: one summary line and no progress line.
[ "$(wc -l < "$WORK/stderr")" = 1 ] && grep -q "clip.mp4: 50 frames, 2.00 s of video" "$WORK/stderr" ||
  fail "no single summary line on standard error"

# A Matroska video starting at 30 s (the cube fan): its first frame is the PNG --at writes for
# that clock, within the codec's loss (yuv420p halves the colour of thin lines: about 30 dB),
# and clearly not the next frame.
$cap --video "$WORK/out/late.mkv" --size 160x120 --fps 25 --from 30000 --until 31000 2> "$WORK/stderr" ||
  fail "an MKV from 30 s failed"
[ "$(ffprobe -v error -show_entries format=format_name -of default=nw=1:nk=1 "$WORK/out/late.mkv")" = "matroska,webm" ] ||
  fail "late.mkv is no Matroska file"
[ "$(probe "$WORK/out/late.mkv" v nb_read_frames)" = nb_read_frames=25 ] || fail "late.mkv: not 25 frames"
ffmpeg -v error -nostdin -i "$WORK/out/late.mkv" -frames:v 1 "$WORK/first.png" || fail "cannot decode late.mkv"
$cap --size 160x120 --fps 25 --at 30000 --at 30040 --out "$WORK/png" || fail "--at failed"
same=$(psnr "$WORK/first.png" "$WORK/png/frame-030000.png")
other=$(psnr "$WORK/first.png" "$WORK/png/frame-030040.png")
awk -v s="$same" 'BEGIN { exit !(s == "inf" || s > 25) }' || fail "first frame against --at 30000: PSNR $same dB"
awk -v s="$same" -v o="$other" 'BEGIN { exit !(s == "inf" || s > o + 8) }' ||
  fail "first frame: PSNR $same dB against its clock, $other dB against the next frame"

# WebM: VP9 and Opus.
$cap --video "$WORK/out/clip.webm" --size 96x72 --fps 25 --until 400 2> "$WORK/stderr" || fail "a WebM failed"
[ "$(probe "$WORK/out/clip.webm" v codec_name)" = codec_name=vp9 ] || fail "clip.webm has no VP9 video"
[ "$(probe "$WORK/out/clip.webm" a codec_name)" = codec_name=opus ] || fail "clip.webm has no Opus audio"

# Music of 1 s of silence and then 0.5 s of tone. Its length is the default length: ceil(1.5 *
# 25) = 38 frames. The tone starts 1 s into the video, and at once in a video from 1 s on.
# A sound list naming a missing file gives a silent video and a warning.
mkdir -p "$WORK/run/Data"
ln -s "$BUILD"/Data/*.bmp "$WORK/run/Data/"
ffmpeg -v error -nostdin -f lavfi -i "aevalsrc=if(gte(t\,1)\,sin(2*PI*440*t)\,0):d=1.5:s=44100" \
  "$WORK/run/Data/tone.wav"
echo Data/tone.wav > "$WORK/run/Data/Sons_WAV.txt"
(cd "$WORK/run" && $cap --video "$WORK/out/tone.mp4" --size 96x72 --fps 25 2> "$WORK/stderr" &&
  $cap --video "$WORK/out/tone-late.mp4" --size 96x72 --fps 25 --from 1000 2> "$WORK/stderr") ||
  fail "a video of the tone failed"
[ "$(probe "$WORK/out/tone.mp4" v nb_read_frames)" = nb_read_frames=38 ] || fail "tone.mp4: not 38 frames"
[ "$(probe "$WORK/out/tone-late.mp4" v nb_read_frames)" = nb_read_frames=13 ] || fail "tone-late.mp4: not 13 frames"
# first_silence FILE: where the first stretch of silence starts and ends in the sound track.
first_silence() {
  ffmpeg -v info -nostdin -i "$1" -af silencedetect=noise=-30dB:d=0.01 -f null - 2>&1 |
    sed -n 's/.*silence_\(start\|end\): \([0-9.-]*\).*/\2/p' | head -n 2 | xargs
}
read -r start end <<< "$(first_silence "$WORK/out/tone.mp4")"
near "${start:-9}" 0 0.02 && near "${end:-0}" 1.0 0.02 || fail "silence from ${start:-?} to ${end:-?} s, not 0 to 1 s"
read -r start end <<< "$(first_silence "$WORK/out/tone-late.mp4")"
# Only the padding after the 0.5 s of tone may be silent.
awk -v s="${start:-9}" 'BEGIN { exit !(s >= 0.48) }' || fail "the video from 1 s has silence from $start s"
echo Data/none.wav > "$WORK/run/Data/Sons_WAV.txt"
(cd "$WORK/run" && $cap --video "$WORK/out/silent.mp4" --size 96x72 --fps 25 --until 400 2> "$WORK/stderr") ||
  fail "no music made the capture fail"
grep -q "^kelvorin-capture: warning: no music" "$WORK/stderr" || fail "no warning about the missing music"
[ -z "$(probe "$WORK/out/silent.mp4" a codec_name)" ] || fail "silent.mp4 has an audio stream"
[ "$(probe "$WORK/out/silent.mp4" v nb_read_frames)" = nb_read_frames=10 ] || fail "silent.mp4: not 10 frames"

# refuse CODE PATTERN ARGS...: exit code, one line matching the pattern, no file left in out2/.
mkdir "$WORK/out2"
refuse() {
  local code=$1 pattern=$2 rc
  shift 2
  "$@" > /dev/null 2> "$WORK/stderr"
  rc=$?
  [ "$rc" = "$code" ] || fail "'$*' gave exit code $rc, not $code"
  head -n 1 "$WORK/stderr" | grep -q -e "$pattern" || fail "'$*' said: $(head -n 1 "$WORK/stderr")"
  only_files "$WORK/out2" || fail "'$*' left $(ls -A "$WORK/out2")"
}
v="$WORK/out2/v.mp4"
refuse 2 "^kelvorin-capture: --video goes with" $cap --video "$v" --at 100
refuse 2 "^kelvorin-capture: --video goes with" $cap --video "$v" --out "$WORK"
refuse 2 "must be even" $cap --video "$v" --size 161x120 --until 100
refuse 2 "--until must lie after --from" $cap --video "$v" --from 5000 --until 4000
refuse 2 "bad or missing value for --video" $cap --video
refuse 2 "the folder $WORK/out2/none does not exist" $cap --video "$WORK/out2/none/v.mp4" --until 100
refuse 2 "ffmpeg is not installed" env PATH=/nonexistent "$cap" --video "$v" --until 100
refuse 2 "ffmpeg failed (exit code [0-9]*): .*xyz" $cap --video "$WORK/out2/v.xyz" --until 100
# An ffmpeg that writes part of a file and then dies: the partial file goes too.
mkdir "$WORK/bin"
printf '#!/bin/sh\nhead -c 100000 > /dev/null\necho junk > "$(eval echo \\${$#})"\necho "disk on fire" >&2\nexit 3\n' > "$WORK/bin/ffmpeg"
chmod +x "$WORK/bin/ffmpeg"
refuse 2 "ffmpeg failed (exit code 3): disk on fire" env PATH="$WORK/bin:$PATH" "$cap" --video "$v" --until 2000
echo PASS

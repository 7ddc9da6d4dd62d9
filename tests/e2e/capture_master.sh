# kelvorin-capture's mastering options: BT.709 tags and colours a player decodes close to the
# PNG, the upload preset's settings, the lossless archive's frames equal to the PNG frames,
# supersampling's edges nearer an 8x reference at each step, motion blur as the mean of the
# faster clock's frames, and refusals before any work.
source "$(dirname "$0")/common.bash"
cd "$BUILD"
cap=$BUILD/kelvorin-capture
mkdir "$WORK/out"
# stream FILE ENTRIES [STREAM]: entries of the first video (or the given) stream, on one line.
stream() { ffprobe -v error -select_streams "${3:-v}" -show_entries "stream=$2" -of default=nw=1 "$1" | xargs; }
# decoded FILE PNG: the file's first frame as a player decodes it, by its tags, as a PNG
# without tags (a tagged PNG would be gamma-corrected as it is read).
decoded() {
  ffmpeg -v error -nostdin -i "$1" -frames:v 1 \
    -vf format=rgb24,setparams=color_trc=unknown:color_primaries=unknown:colorspace=unknown "$2"
}
TAGS="color_range=tv color_space=bt709 color_transfer=bt709 color_primaries=bt709"

# The name banner's saturated letters at 20.5 s: decoded by the tags, each codec stays within
# its loss of the PNG (mean under 2 levels a channel, under 10 % of pixels off by more than 8;
# BT.601's matrix decoded as BT.709 was 3.2 and 20 %). The tags are in the bitstream itself
# (the matrix for VP9, which has no field for the rest) and in the container.
$cap --size 1024x768 --at 20500 --out "$WORK/png" || fail "--at 20500 failed"
for ext in mp4 webm; do
  $cap --video "$WORK/out/banner.$ext" --from 20500 --until 20550 2> "$WORK/stderr" || fail "a short .$ext failed"
  [ "$(stream "$WORK/out/banner.$ext" color_range,color_space,color_transfer,color_primaries)" = "$TAGS" ] ||
    fail ".$ext tags: $(stream "$WORK/out/banner.$ext" color_range,color_space,color_transfer,color_primaries)"
  decoded "$WORK/out/banner.$ext" "$WORK/$ext.png"
  ./frame_diff "$WORK/$ext.png" "$WORK/png/frame-020500.png" 2 8 0.10 || fail ".$ext decodes too far from the PNG"
done
ffmpeg -v error -nostdin -i "$WORK/out/banner.mp4" -c copy -f h264 "$WORK/raw.h264"
[ "$(stream "$WORK/raw.h264" color_range,color_space,color_transfer,color_primaries)" = "$TAGS" ] ||
  fail "the H.264 stream itself is not tagged BT.709"
grep -qa colrnclx "$WORK/out/banner.mp4" || fail "the MP4 container has no colour atom"
ffmpeg -v error -nostdin -i "$WORK/out/banner.webm" -c copy -f ivf "$WORK/raw.ivf"
[ "$(stream "$WORK/raw.ivf" color_space)" = color_space=bt709 ] || fail "the VP9 stream has no BT.709 matrix"

# The upload preset at its default size (two frames): H.264 High with two B-frames and key
# frames every half second, a closed GOP (x264 notes its settings in the stream), AAC-LC at
# 48 kHz, stereo, 384 kbit/s, the index before the data.
$cap --video "$WORK/out/up.mp4" --preset upload --until 17 2> "$WORK/stderr" || fail "the upload preset failed"
[ "$(stream "$WORK/out/up.mp4" profile,width,height,pix_fmt)" = "profile=High width=2880 height=2160 pix_fmt=yuv420p" ] ||
  fail "upload video: $(stream "$WORK/out/up.mp4" profile,width,height,pix_fmt)"
[ "$(stream "$WORK/out/up.mp4" profile,sample_rate,channels a)" = "profile=LC sample_rate=48000 channels=2" ] ||
  fail "upload audio: $(stream "$WORK/out/up.mp4" profile,sample_rate,channels a)"
grep -qa "bframes=2 .*open_gop=0 .*keyint=30 " "$WORK/out/up.mp4" || fail "no closed GOP of 30 frames with 2 B-frames"
$cap --video "$WORK/out/up2.mp4" --preset upload --size 320x240 --from 60000 --until 62000 2> "$WORK/stderr" ||
  fail "the upload preset at 320x240 failed"
[ "$(stream "$WORK/out/up2.mp4" width,height,color_range,color_space,color_transfer,color_primaries)" = "width=320 height=240 $TAGS" ] ||
  fail "--size or the tags are lost under the preset"
keys=$(ffprobe -v error -show_frames -select_streams v -show_entries frame=key_frame -of flat "$WORK/out/up2.mp4" |
  sed -n 's/^frames\.frame\.\([0-9]*\)\.key_frame=1$/\1/p' | xargs)
[ "$keys" = "0 30 60 90" ] || fail "key frames at $keys"
[ "$(ffprobe -v error -show_entries stream=bit_rate -select_streams a -of csv=p=0 "$WORK/out/up2.mp4")" -gt 340000 ] ||
  fail "the music is not near 384 kbit/s"
offsets=$(grep -obaE "moov|mdat" "$WORK/out/up2.mp4" | head -n 2 | cut -d: -f2 | xargs)
[ "$offsets" = "moov mdat" ] || fail "the index does not come first: $offsets"

# The archive: FFV1 in RGB and FLAC, every frame decoded byte for byte the PNG of its clock.
$cap --video "$WORK/out/archive.mkv" --lossless --size 160x120 --fps 25 --from 30000 --until 30200 \
  2> "$WORK/stderr" || fail "the archive failed"
[ "$(stream "$WORK/out/archive.mkv" codec_name,pix_fmt)" = "codec_name=ffv1 pix_fmt=bgr0" ] || fail "the archive is no RGB FFV1"
[ "$(stream "$WORK/out/archive.mkv" codec_name a)" = codec_name=flac ] || fail "the archive's music is no FLAC"
$cap --size 160x120 --fps 25 --from 30000 --to 30160 --out "$WORK/clip" || fail "--from 30000 --to 30160 failed"
ffmpeg -v error -nostdin -i "$WORK/out/archive.mkv" -f rawvideo -pix_fmt rgb24 "$WORK/archive.rgb"
for f in "$WORK"/clip/*.png; do convert "$f" -depth 8 rgb:-; done > "$WORK/clip.rgb"
[ "$(ls "$WORK/clip" | wc -l)" = 5 ] && cmp -s "$WORK/archive.rgb" "$WORK/clip.rgb" || fail "the archive's frames are not the PNG frames"

# Supersampling and motion blur at 1 are the plain frame, byte for byte.
at=(--size 160x120 --fps 6 --at 30000)
$cap "${at[@]}" --out "$WORK/plain" && $cap "${at[@]}" --supersample 1 --motion-blur 1 --out "$WORK/one" ||
  fail "plain frames failed"
cmp -s "$WORK/plain/frame-030000.png" "$WORK/one/frame-030000.png" || fail "--supersample 1 --motion-blur 1 changed the frame"

# Wire cubes at 30 s, the dot matrix at 135 s: each step of supersampling brings the edges
# nearer those of the frame supersampled 8 times, on desktop GL and through the GL layer.
for program in kelvorin-capture kelvorin-capture-gles; do
  for n in 1 2 3 8; do
    ./$program --size 160x120 --fps 6 --at 30000 --at 135000 --supersample $n --out "$WORK/$program-$n" ||
      fail "$program --supersample $n failed"
  done
  for clock in 030000 135000; do
    ./capture_measure edges "$WORK/$program-"{8,1,2,3}"/frame-$clock.png" | awk '{ print $2 }' | xargs > "$WORK/edges"
    echo "$program at $clock ms, edge error for N = 1, 2, 3: $(cat "$WORK/edges")"
    awk '{ exit !($1 > 1.5 * $2 && $2 > 1.2 * $3 && $3 > 0) }' "$WORK/edges" ||
      fail "$program at $clock ms: edges not nearer the 8x reference at each step"
  done
done

# Motion blur 2 at 30 fps is the mean in light of the 60 fps frames it spans; with
# supersampling, the mean of those frames supersampled, within the second rounding.
$cap --size 160x120 --at 30000 --at 30016 --out "$WORK/60" && $cap --size 160x120 --fps 30 --motion-blur 2 \
  --at 30000 --out "$WORK/blur" || fail "motion blur failed"
./capture_measure mean "$WORK/mean.png" "$WORK/60/frame-030000.png" "$WORK/60/frame-030016.png"
cmp -s "$WORK/mean.png" "$WORK/blur/frame-030000.png" || fail "motion blur is not the mean of the frames it spans"
$cap --size 160x120 --at 30000 --at 30016 --supersample 2 --out "$WORK/60s" &&
  $cap --size 160x120 --fps 30 --motion-blur 2 --supersample 2 --at 30000 --out "$WORK/blurs" || fail "both at once failed"
./capture_measure mean "$WORK/means.png" "$WORK/60s/frame-030000.png" "$WORK/60s/frame-030016.png"
./frame_diff "$WORK/means.png" "$WORK/blurs/frame-030000.png" 0.6 1 0.001 || fail "motion blur and supersampling"

# On a terminal the progress line shows the output's size so far.
script -qec "$cap --video $WORK/out/tty.mp4 --size 96x72 --until 2000" /dev/null > "$WORK/tty" ||
  fail "a video on a terminal failed"
grep -q "frame 120/120  demo 1.98 s  [0-9.]* fps  ETA 0:00  [0-9.]* MB" "$WORK/tty" || fail "progress: $(tr '\r' '\n' < "$WORK/tty" | tail -n 3)"

# Every bad combination: exit status 2 and one line, before ffmpeg starts or a file is made.
mkdir "$WORK/bin" "$WORK/none"
printf '#!/bin/sh\necho started >> %s/started\nexec /usr/bin/ffmpeg "$@"\n' "$WORK" > "$WORK/bin/ffmpeg"
chmod +x "$WORK/bin/ffmpeg"
refuse() {
  local pattern=$1 rc
  shift
  env PATH="$WORK/bin:$PATH" "$cap" "$@" > /dev/null 2> "$WORK/stderr"
  rc=$?
  [ "$rc" = 2 ] || fail "'$*' gave exit code $rc, not 2"
  head -n 1 "$WORK/stderr" | grep -q -e "^kelvorin-capture: $pattern" || fail "'$*' said: $(head -n 1 "$WORK/stderr")"
  [ -z "$(ls -A "$WORK/none")" ] && [ ! -e "$WORK/started" ] && [ ! -e "$WORK/png2" ] || fail "'$*' did some work"
}
v=$WORK/none/v
refuse "--preset upload writes H.264 and AAC .*mp4" --video "$v.webm" --preset upload
refuse "--lossless writes FFV1 and FLAC.*mkv" --video "$v.mp4" --lossless
refuse "--preset upload and --lossless exclude" --video "$v.mkv" --lossless --preset upload
refuse "unknown preset web" --video "$v.mp4" --preset web
refuse "--preset and --lossless go with --video" --at 100 --lossless
refuse "--motion-blur takes 1 to 16" --video "$v.mp4" --motion-blur 0
refuse "--motion-blur 11 at 100 fps asks for frames closer" --at 100 --fps 100 --motion-blur 11 --out "$WORK/png2"
refuse "--supersample takes 1 to 8" --video "$v.mp4" --supersample 9
refuse "--flash-report goes with" --flash-report --supersample 2
refuse "frames drawn at 23040x17280 (2880x2160 supersampled 8 times) exceed" --video "$v.mp4" --preset upload --supersample 8
refuse "frames drawn at 20000x15000 .* exceed" --size 5000x3750 --supersample 4 --at 100 --out "$WORK/png2"

# An interrupted supersampled video leaves nothing behind.
start_demo "$BUILD" "$cap" --video "$v.mp4" --size 320x240 --supersample 2
waiting "the partial video to appear"
for _ in $(seq 300); do [ -n "$(ls -A "$WORK/none")" ] && break; sleep 0.1; done
kill -INT "$DEMO_PID"
wait_exit
[ "$RC" = 2 ] && [ -z "$(ls -A "$WORK/none")" ] || fail "an interrupted video gave $RC and left $(ls -A "$WORK/none")"
echo PASS

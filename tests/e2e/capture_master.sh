# kelvorin-capture's mastering options: BT.709 tags and colours that decode close to the PNG,
# the upload preset's settings, an archive equal to the PNG frames, supersampling that brings
# the edges nearer an 8x reference at each step, motion blur as the mean in light of the faster
# clock's frames, and every bad combination refused before any work.
source "$(dirname "$0")/common.bash"
cd "$BUILD"
cap=$BUILD/kelvorin-capture
mkdir "$WORK/out" "$WORK/none"
# stream FILE ENTRIES [STREAM]: entries of the video (or the given) stream, on one line.
stream() { ffprobe -v error -select_streams "${3:-v}" -show_entries "stream=$2" -of default=nw=1 "$1" | xargs; }
COLOUR=color_range,color_space,color_transfer,color_primaries
TAGS="color_range=tv color_space=bt709 color_transfer=bt709 color_primaries=bt709"

# The name banner's saturated letters, decoded as a player does, by the tags (into a PNG
# without them, which libpng would gamma-correct): within each codec's loss of the PNG, under 2
# levels a channel on average and 10 % of pixels off by more than 8. BT.601's matrix read as
# BT.709 was 3.2 and 20 %. H.264 keeps the tags in its stream too, VP9 its matrix.
$cap --size 1024x768 --at 20500 --out "$WORK/png" || fail "--at 20500 failed"
for ext in mp4 webm; do
  $cap --video "$WORK/out/banner.$ext" --from 20500 --until 20550 2> "$WORK/stderr" || fail "a short .$ext failed"
  [ "$(stream "$WORK/out/banner.$ext" $COLOUR)" = "$TAGS" ] || fail ".$ext: $(stream "$WORK/out/banner.$ext" $COLOUR)"
  ffmpeg -v error -nostdin -i "$WORK/out/banner.$ext" -frames:v 1 \
    -vf format=rgb24,setparams=color_trc=unknown:color_primaries=unknown:colorspace=unknown "$WORK/$ext.png"
  ./frame_diff "$WORK/$ext.png" "$WORK/png/frame-020500.png" 2 8 0.10 || fail ".$ext decodes too far from the PNG"
done
ffmpeg -v error -nostdin -i "$WORK/out/banner.mp4" -c copy -f h264 "$WORK/raw.h264"
ffmpeg -v error -nostdin -i "$WORK/out/banner.webm" -c copy -f ivf "$WORK/raw.ivf"
[ "$(stream "$WORK/raw.h264" $COLOUR)" = "$TAGS" ] && [ "$(stream "$WORK/raw.ivf" color_space)" = color_space=bt709 ] &&
  grep -qa colrnclx "$WORK/out/banner.mp4" || fail "the tags are not in both the streams and the MP4 container"

# The upload preset: 2880x2160 unless --size says otherwise, H.264 High with 2 B-frames and a
# closed GOP of 30 frames, AAC-LC at 48 kHz in stereo near 384 kbit/s, the index first.
$cap --video "$WORK/out/up.mp4" --preset upload --until 17 2> "$WORK/stderr" || fail "the upload preset failed"
[ "$(stream "$WORK/out/up.mp4" width,height)" = "width=2880 height=2160" ] || fail "upload size: $(stream "$WORK/out/up.mp4" width,height)"
$cap --video "$WORK/out/up.mp4" --preset upload --size 320x240 --from 60000 --until 62000 2> "$WORK/stderr" ||
  fail "the upload preset at 320x240 failed"
[ "$(stream "$WORK/out/up.mp4" profile,width,height,pix_fmt,$COLOUR)" = "profile=High width=320 height=240 pix_fmt=yuv420p $TAGS" ] ||
  fail "upload video: $(stream "$WORK/out/up.mp4" profile,width,height,pix_fmt,$COLOUR)"
[ "$(stream "$WORK/out/up.mp4" profile,sample_rate,channels a)" = "profile=LC sample_rate=48000 channels=2" ] &&
  [ "$(ffprobe -v error -show_entries stream=bit_rate -select_streams a -of csv=p=0 "$WORK/out/up.mp4")" -gt 340000 ] ||
  fail "upload audio: $(stream "$WORK/out/up.mp4" profile,sample_rate,channels,bit_rate a)"
grep -qa "bframes=2 .*open_gop=0 .*keyint=30 " "$WORK/out/up.mp4" || fail "x264 made no closed GOP of 30 with 2 B-frames"
keys=$(ffprobe -v error -show_frames -select_streams v -show_entries frame=key_frame -of flat "$WORK/out/up.mp4" |
  sed -n 's/^frames\.frame\.\([0-9]*\)\.key_frame=1$/\1/p' | xargs)
[ "$keys" = "0 30 60 90" ] || fail "key frames at $keys"
[ "$(grep -obaE "moov|mdat" "$WORK/out/up.mp4" | head -n 2 | cut -d: -f2 | xargs)" = "moov mdat" ] || fail "the index is not first"

# The archive: FFV1 in RGB and FLAC, whose frames are the PNG frames of their clocks, plain and
# (each made by the other path) supersampled and blurred.
for opts in "" "--supersample 2 --motion-blur 2"; do
  clip=(--size 160x120 --fps 25 $opts)
  $cap --video "$WORK/out/archive.mkv" --lossless "${clip[@]}" --from 30000 --until 30200 2> "$WORK/stderr" &&
    $cap "${clip[@]}" --from 30000 --to 30160 --out "$WORK/clip$opts" || fail "the archive $opts failed"
  ffmpeg -v error -nostdin -y -i "$WORK/out/archive.mkv" -f rawvideo -pix_fmt rgb24 "$WORK/archive.rgb"
  [ "$(ls "$WORK/clip$opts" | wc -l)" = 5 ] && for f in "$WORK/clip$opts"/*.png; do convert "$f" -depth 8 rgb:-; done |
    cmp -s - "$WORK/archive.rgb" || fail "the archive's frames are not the PNG frames ($opts)"
done
[ "$(stream "$WORK/out/archive.mkv" codec_name,pix_fmt) $(stream "$WORK/out/archive.mkv" codec_name a)" = \
  "codec_name=ffv1 pix_fmt=bgr0 codec_name=flac" ] || fail "the archive is no RGB FFV1 with FLAC"

# At 1 both options give the plain frame, byte for byte. Then the wire cubes at 30 s and the dot
# matrix at 135 s: each step of supersampling brings the edges nearer those of the frame
# supersampled 8 times, on desktop GL and through the GL layer.
at=(--size 160x120 --fps 6 --at 30000 --at 135000)
$cap "${at[@]}" --supersample 1 --motion-blur 1 --out "$WORK/one" || fail "--supersample 1 --motion-blur 1 failed"
for program in kelvorin-capture kelvorin-capture-gles; do
  ./$program "${at[@]}" --out "$WORK/$program-1" || fail "$program plain"
  for n in 2 3 8; do ./$program "${at[@]}" --supersample $n --out "$WORK/$program-$n" || fail "$program --supersample $n"; done
  for clock in 030000 135000; do
    for n in 1 2 3; do
      ./frame_diff "$WORK/$program-$n/frame-$clock.png" "$WORK/$program-8/frame-$clock.png" 255 255 1 edges |
        awk '{ printf "%.3f ", ($3 + $4 + $5) / 3 }'
    done > "$WORK/edges"
    echo "$program at $clock ms, mean difference at the edges for 1, 2, 3 against 8: $(cat "$WORK/edges")"
    awk '{ exit !($1 > 1.5 * $2 && $2 > 1.2 * $3 && $3 > 0) }' "$WORK/edges" || fail "$program at $clock ms: edges"
  done
done
cmp -s "$WORK/one/frame-030000.png" "$WORK/kelvorin-capture-1/frame-030000.png" &&
  cmp -s "$WORK/one/frame-135000.png" "$WORK/kelvorin-capture-1/frame-135000.png" || fail "at 1 the frames changed"

# Motion blur 2 at 30 fps is the mean in light of the two 60 fps frames it spans (ImageMagick's
# in linear RGB, within its rounding); the mean of the codes is not.
$cap --size 160x120 --at 30000 --at 30016 --out "$WORK/60" &&
  $cap --size 160x120 --fps 30 --motion-blur 2 --at 30000 --out "$WORK/blur" || fail "motion blur failed"
convert "$WORK"/60/frame-0300{00,16}.png -colorspace RGB -evaluate-sequence mean -colorspace sRGB "$WORK/mean.png"
./frame_diff "$WORK/mean.png" "$WORK/blur/frame-030000.png" 0.2 1 0.001 || fail "motion blur is not the mean in light"

# On a terminal the progress line shows the output's size so far.
script -qec "$cap --video $WORK/out/tty.mp4 --size 96x72 --until 2000" /dev/null > "$WORK/tty" || fail "on a terminal"
grep -q "frame 120/120  demo 1.98 s  [0-9.]* fps  ETA 0:00  [0-9.]* MB" "$WORK/tty" || fail "progress: $(tail -c 200 "$WORK/tty")"

# Every bad combination: exit status 2 and one line, before ffmpeg starts or anything is made.
mkdir "$WORK/bin"
printf '#!/bin/sh\ntouch %s/started\nexec %s "$@"\n' "$WORK" "$(command -v ffmpeg)" > "$WORK/bin/ffmpeg"
chmod +x "$WORK/bin/ffmpeg"
v=$WORK/none/v
while IFS='|' read -r pattern args; do
  env PATH="$WORK/bin:$PATH" $cap $args > /dev/null 2> "$WORK/stderr"
  rc=$?
  [ "$rc" = 2 ] && head -n 1 "$WORK/stderr" | grep -q -e "^kelvorin-capture: $pattern" || fail "'$args' gave $rc"
  [ -z "$(ls -A "$WORK/none")" ] && [ ! -e "$WORK/started" ] || fail "'$args' did some work"
done <<EOF
--preset upload writes H.264 and AAC .*mp4|--video $v.webm --preset upload
--lossless writes FFV1 and FLAC.*mkv|--video $v.mp4 --lossless
--preset upload and --lossless exclude|--video $v.mkv --lossless --preset upload
--preset and --lossless go with --video|--at 100 --lossless
--motion-blur takes 1 to 16|--video $v.mp4 --motion-blur 0
--motion-blur 11 at 100 fps asks for frames closer|--at 100 --fps 100 --motion-blur 11 --out $v
--supersample takes 1 to 8|--video $v.mp4 --supersample 9
--flash-report goes with|--flash-report --supersample 2
frames drawn at 23040x17280 (2880x2160 supersampled 8 times) exceed|--video $v.mp4 --preset upload --supersample 8
frames drawn at 20000x15000 .* exceed|--size 5000x3750 --supersample 4 --at 100 --out $v
EOF

# An interrupted supersampled video leaves nothing behind.
start_demo "$BUILD" "$cap" --video "$v.mp4" --size 320x240 --supersample 2
waiting "the partial video to appear"
for _ in $(seq 300); do [ -n "$(ls -A "$WORK/none")" ] && break; sleep 0.1; done
kill -INT "$DEMO_PID"
wait_exit
[ "$RC" = 2 ] && [ -z "$(ls -A "$WORK/none")" ] || fail "an interrupted video gave $RC and left $(ls -A "$WORK/none")"
echo PASS

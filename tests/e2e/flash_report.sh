# kelvorin-capture --flash-report names the cube fan's first blinking seconds and the cloud
# tunnel's, which pass with --reduced-flashing; a video with --reduced-flashing shows the fan in
# every frame of its blinking, its first frame as --at draws it.
source "$(dirname "$0")/common.bash"
cd "$BUILD"
cap=./kelvorin-capture
# The verdicts of 1024x768 at a sixteenth of the pixels (docs/photosensitivity.md).
SIZE=256x192

# report NAME OPTIONS...: the report into $WORK/NAME; its rows are "SECOND GENERAL RED WHERE OWN WHERE".
report() {
  local name=$1
  shift
  waiting "the flash report $*"
  $cap --flash-report --size $SIZE "$@" > "$WORK/$name" 2> "$WORK/stderr" || fail "--flash-report $* failed"
  grep -q "^kelvorin-capture: flash report: [0-9]* frames measured in" "$WORK/stderr" ||
    fail "no summary on standard error: $(cat "$WORK/stderr")"
}
failing() { awk '!/^#/ && !/^summary/ { printf "%s ", $1 }' "$WORK/$1"; }

report fan --from 26000 --to 29500
[ "$(failing fan)" = "26 27 28 29 " ] || fail "the fan's failing seconds: $(failing fan)"
grep -q "^summary: 4 of 4 seconds exceed 3 flashes (WCAG 2.3.1: 4 general, 0 red; own check: 4)" "$WORK/fan" ||
  fail "summary: $(tail -n 1 "$WORK/fan")"
awk '$1 == 27 && $2 >= 9.5 && $3 == 0 && $4 == "centre" && $5 >= 9.5 && $6 == "centre" { found = 1 }
     END { exit !found }' "$WORK/fan" || fail "27 s is not ten flashes a second at the centre: $(cat "$WORK/fan")"
report fan_reduced --from 26000 --to 29500 --reduced-flashing
grep -q "^summary: 0 of 4 seconds exceed" "$WORK/fan_reduced" || fail "reduced: $(cat "$WORK/fan_reduced")"

report tunnel --from 60000 --to 62000
grep -q "^summary: 3 of 3 seconds exceed" "$WORK/tunnel" || fail "the tunnel: $(cat "$WORK/tunnel")"
report tunnel_reduced --from 60000 --to 62000 --reduced-flashing --trace
grep -q "^summary: 0 of 3 seconds exceed" "$WORK/tunnel_reduced" || fail "reduced: $(cat "$WORK/tunnel_reduced")"
[ "$(failing tunnel_reduced)" = "60 61 62 " ] || fail "--trace did not list every second"

# The blinking stretch as a video: every frame shows the fan (black would be a blank frame).
waiting "a reduced-flashing video"
$cap --video "$WORK/fan.mkv" --reduced-flashing --size 160x120 --from 27000 --until 27500 2> "$WORK/stderr" ||
  fail "the reduced-flashing video failed"
mkdir "$WORK/frames"
ffmpeg -v error -nostdin -i "$WORK/fan.mkv" -fps_mode passthrough "$WORK/frames/%02d.png" || fail "cannot decode the video"
[ "$(ls "$WORK/frames" | wc -l)" = 30 ] || fail "$(ls "$WORK/frames" | wc -l) frames, not 30"
for f in "$WORK"/frames/*.png; do
  [ "$(convert "$f" -colorspace gray -format '%[fx:maxima > 0.3]' info:)" = 1 ] || fail "$(basename "$f") is dark"
done
$cap --reduced-flashing --size 160x120 --at 27000 --out "$WORK/png" || fail "--reduced-flashing --at failed"
same=$(ffmpeg -v info -nostdin -i "$WORK/frames/01.png" -i "$WORK/png/frame-027000.png" -lavfi psnr -f null - 2>&1 |
  sed -n 's/.*average:\([0-9.inf]*\).*/\1/p')
awk -v s="$same" 'BEGIN { exit !(s == "inf" || s > 25) }' || fail "first frame against --at 27000: PSNR $same dB"
echo PASS

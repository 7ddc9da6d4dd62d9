# The offline renderer: its frame clock, its trace, the frames it writes and its refusals.
source "$(dirname "$0")/common.bash"
cd "$BUILD"
cap=./kelvorin-capture

# png_size FILE: width and height from the PNG header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'; }

$cap --trace --until 1000 > "$WORK/trace" || fail "--trace --until 1000 failed"
[ "$(wc -l < "$WORK/trace")" = 61 ] || fail "$(wc -l < "$WORK/trace") trace lines at 60 fps up to 1000 ms, not 61"
[ "$(head -n 1 "$WORK/trace")" = "0 0 0" ] || fail "first trace line: $(head -n 1 "$WORK/trace")"
# Frame k has clock floor(k * 1000 / 60); tempo is the step from the previous frame.
awk 'NR > 1 { k = NR - 1; c = int(k * 1000 / 60); if ($1 != c || $2 != c - prev) exit 1 } { prev = $1 }' \
  "$WORK/trace" || fail "trace clocks or tempos are wrong"
[ "$(tail -n 1 "$WORK/trace" | cut -d' ' -f1)" = 1000 ] || fail "the last frame is not at 1000 ms"

$cap --fps 25 --size 160x120 --at 500 --at 1010 --from 200 --to 280 --out "$WORK/frames" > "$WORK/out" ||
  fail "writing frames failed"
[ -s "$WORK/out" ] && fail "frames without --trace printed to standard output"
for f in frame-000500 frame-001010 frame-000200 frame-000240 frame-000280; do
  [ -f "$WORK/frames/$f.png" ] || fail "$f.png is missing"
  [ "$(png_size "$WORK/frames/$f.png")" = "160 120" ] || fail "$f.png is $(png_size "$WORK/frames/$f.png")"
done
[ "$(ls "$WORK/frames" | wc -l)" = 5 ] || fail "unexpected frames: $(ls "$WORK/frames")"
# 8-bit RGB: bit depth 8, colour type 2.
[ "$(od -An -tu1 -j24 -N2 "$WORK/frames/frame-000500.png" | tr -s ' ')" = " 8 2" ] || fail "not 8-bit RGB"

# Far moments: a day in, and a minute past the clock's wrap at 2^32 ms (49.7 days), reached
# without drawing the closing scene's frames before them; two moments of the turning spiral.
$cap --size 160x120 --at 86400000 --at 4295027296 --out "$WORK/far" > /dev/null || fail "far moments failed"
for f in frame-86400000 frame-4295027296; do
  [ "$(png_size "$WORK/far/$f.png")" = "160 120" ] || fail "$f.png is missing or not 160x120"
done
cmp -s "$WORK/far/frame-86400000.png" "$WORK/far/frame-4295027296.png" && fail "a day in and 49.7 days in drew one picture"

# --loop: a pass later, and two, each moment is drawn again to the byte: the banner, the tunnel's
# sprites from the random pools, the closing scene.
moments="250 66150 170000"
$cap --size 160x120 $(for t in $moments; do echo --at $t; done) --out "$WORK/once" || fail "plain moments failed"
$cap --size 160x120 --loop $(for t in $moments; do for p in 0 1 2; do echo --at $((t + p * 191000)); done; done) \
  --out "$WORK/loop" || fail "--loop moments failed"
for t in $moments; do
  for p in 0 1 2; do
    name=$(printf "frame-%06d.png" $((t + p * 191000)))
    cmp -s "$WORK/once/$(printf "frame-%06d.png" $t)" "$WORK/loop/$name" || fail "--loop: $name is not the frame at $t ms"
  done
done

for bad in "--fps 0 --until 10" "--size 12 --until 10" "--at" "--from 10 --until 20" \
           "--from 20 --to 10" "--bogus" "--trace" "--until -5" "--flash-report --at 10" \
           "--flash-report --from 20 --to 10" "--flash-report --video x.mp4" "--reduced-flashing" \
           "--at 4320000001" "--video x.mp4 --from 4294967296" "--flash-report --to 4294967296" "--video x.mp4 --loop" "--flash-report --loop"; do
  $cap $bad > /dev/null 2> "$WORK/err"
  rc=$?
  [ "$rc" = 2 ] || fail "'$bad' gave exit code $rc, not 2"
  grep -q "^usage: kelvorin-capture" "$WORK/err" || fail "'$bad' printed no usage"
done
echo PASS

# The GL 1.1 layer on OpenGL ES (kelvorin-capture-gles) against desktop OpenGL
# (kelvorin-capture): the same frames from every scene at 800x600, one run of each program.
# Each pair must differ by less than 3 per channel on average, with fewer than 2 % of pixels
# off by more than 24; the desktop frame must show something.
source "$(dirname "$0")/common.bash"
cd "$BUILD"

# 6 frames a second keeps the runs short and still lands frames where scene 3 shows between
# its blinks and where the tunnel shakes. What each frame shows:
#   3000 banner (depth test, no blending)    9000 spinning logo (blended)
#   17833 lit ball spiral, picture           30000 wire cube fan, picture bands (additive)
#   41166 title over the fan                 46500 title tumbling with its trail
#   50000 wire sphere, countdown             57000 white flash, fading sphere
#   63000 cloud tunnel (alpha/zero) shaking  72000 tunnel shaking, light sprites
#   84500 finale growing, floor and columns  89000 sun layers, petals
#   100000 floor, columns, petal swirl       121000 camera flight, sun
#   135000 greetings, picture, lit spiral    140000 the spiral further in
CLOCKS=(3000 9000 17833 30000 41166 46500 50000 57000 63000 72000 84500 89000 100000 121000
        135000 140000)
args=(--fps 6 --size 800x600)
for clock in "${CLOCKS[@]}"; do args+=(--at "$clock"); done

for program in kelvorin-capture kelvorin-capture-gles; do
  waiting "$program to write its frames"
  "./$program" "${args[@]}" --out "$WORK/$program" || fail "$program did not write the frames"
done

status=0
for clock in "${CLOCKS[@]}"; do
  name=$(printf 'frame-%06d.png' "$clock")
  printf '%6d ms: ' "$clock"
  ./frame_diff "$WORK/kelvorin-capture/$name" "$WORK/kelvorin-capture-gles/$name" 3 24 0.02 || status=1
done
[ "$status" = 0 ] || fail "frames differ beyond the limits"
echo PASS

# Which scene the demo's window shows, for tests that check the timeline from outside.
# kelvorin-capture renders the demo at the window's size (thin lines come out as bright as
# on screen only then), by default one frame a second (at x.5 s); a shot of the window goes to the nearest
# of those frames (mean absolute difference of 64x48 grey thumbnails), and that frame's scene
# id is the answer. Needs common.bash and ImageMagick. The frames come from $REFERENCE_BUILD's
# kelvorin-capture (default $BUILD).
REF=$WORK/ref

# references WIDTH HEIGHT UNTIL_MS [STEP_MS]: renders the frames (one a second, or every
# STEP_MS) and lists them in $REF/frames as "CLOCK SCENE BRIGHTNESS" (the thumbnail's mean grey,
# 0 to 1).
references() {
  local dir=$REF at=() ms f build=${REFERENCE_BUILD:-$BUILD}
  mkdir -p "$dir"
  for ((ms = 500; ms <= $3; ms += ${4:-1000})); do at+=(--at "$ms"); done
  waiting "kelvorin-capture to render reference frames"
  (cd "$build" && "$build/kelvorin-capture" --size "$1x$2" --fps 5 "${at[@]}" --trace \
    --out "$dir") >"$dir/trace" 2>"$dir/capture.err" || fail "kelvorin-capture failed"
  for f in "$dir"/frame-*.png; do
    convert "$f" -resize '64x48!' -colorspace gray "${f%.png}.pgm"
    ms=$(basename "$f" .png)
    ms=$((10#${ms#frame-}))
    echo "$ms $(scene_at "$ms") $(convert "${f%.png}.pgm" -format '%[fx:mean]' info:)"
  done >"$dir/frames.tmp"
  mv "$dir/frames.tmp" "$dir/frames"
}

# scene_at MS: the scene id that draws the frame at clock MS (to 200 ms).
scene_at() {
  awk -v t="$1" '$1 <= t { s = $3 } END { print s }' "$REF/trace"
}

# steady_time FROM_MS: the first clock from FROM_MS on (in 500 ms steps) whose
# scene draws from 4 s before it to 1.5 s after it, in reference frames that are not black,
# so that a shot taken then cannot be mistaken for another scene whatever the exact clock.
steady_time() {
  awk -v from="$1" '
    FNR == NR { t[++n] = $1; s[n] = $3; next }
    { lit[$1] = $3 > 0.01 }
    END {
      for (c = from; c < t[n] - 1500; c += 500) {
        ok = 1; first = ""
        for (i = 1; i <= n; i++) if (t[i] >= c - 4000 && t[i] <= c + 1500) {
          if (first == "") first = s[i]; else if (s[i] != first) ok = 0
          if ((t[i] in lit) && !lit[t[i]]) ok = 0
        }
        if (ok) { print c; exit }
      }
    }' "$REF/trace" "$REF/frames"
}

# shown_scene WINDOW: prints the scene id of the reference frame nearest to what the window
# shows, then the clock of that frame.
shown_scene() {
  local best ms
  import -window "$1" "$WORK/shot.png" 2>/dev/null || fail "no shot of window $1"
  convert "$WORK/shot.png" -resize '64x48!' -colorspace gray "$WORK/shot.pgm"
  best=$(python3 - "$WORK/shot.pgm" "$REF"/frame-*.pgm <<'PY'
import re, sys
def grey(path):
    data = open(path, 'rb').read()
    header = re.match(rb'P5\s+\d+\s+\d+\s+(\d+)\s', data)
    scale = 255 / int(header.group(1))
    wide = int(header.group(1)) > 255
    raw = data[header.end():]
    if wide: return [(raw[i] * 256 + raw[i + 1]) * scale for i in range(0, len(raw), 2)]
    return [b * scale for b in raw]
shot = grey(sys.argv[1])
def distance(path): return sum(abs(a - b) for a, b in zip(shot, grey(path)))
print(min(sys.argv[2:], key=distance))
PY
) || fail "could not compare the shot"
  ms=$(basename "$best" .pgm)
  ms=$((10#${ms#frame-}))
  echo "$(scene_at "$ms") $ms"
}

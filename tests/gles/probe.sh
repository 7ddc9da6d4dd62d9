# gl_probe's picture through desktop OpenGL and through the GL 1.1 layer on OpenGL ES must be
# the same but for rounding: under 0.5 per channel on average, and fewer than 0.1 % of pixels
# off by more than 24 (a wrong light, split or clamp moves thousands).
set -u
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
timeout -k 5 60 ./gl_probe "$WORK/gl.png" || { echo "FAIL: gl_probe"; exit 1; }
timeout -k 5 60 ./gl_probe_gles "$WORK/gles.png" || { echo "FAIL: gl_probe_gles"; exit 1; }
./frame_diff "$WORK/gl.png" "$WORK/gles.png" 0.5 24 0.001 || { echo "FAIL: the pictures differ"; exit 1; }
echo PASS

# links_no_sdl.sh DEMO PROGRAM...: the offscreen edition's programs link neither SDL2 nor
# SDL2_mixer; only the Linux edition's do. DEMO, the Linux edition's kelvorin, is the control
# that shows SDL would be seen.
set -u
libraries() {  # the shared libraries a program loads, one a line; fails when ldd reads none
  local out
  out=$(ldd "$1") && grep -q 'libc\.so' <<<"$out" && echo "$out"
}
demo=$1
shift
out=$(libraries "$demo") || { echo "FAIL: ldd cannot read $demo"; exit 1; }
grep -q 'libSDL2-2' <<<"$out" || { echo "FAIL: $demo links no SDL2, so the check sees nothing"; exit 1; }
status=0
for program in "$@"; do
  out=$(libraries "$program") || { echo "FAIL: ldd cannot read $program"; status=1; continue; }
  if grep -i 'sdl' <<<"$out"; then
    echo "FAIL: $program links SDL"
    status=1
  fi
done
[ $status = 0 ] && echo "PASS: $# programs link no SDL"
exit $status

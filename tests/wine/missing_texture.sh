# kelvorin.exe under Wine with Data/soleil.bmp missing: start-up ends with the box
# "Initialization Failed." and exit code 0, and the loader shows no box of its own.
source "$(dirname "$0")/wine.bash"
start_x_server
start_exe "$(run_dir soleil.bmp)"
answer_box "Start FullScreen?" "Yes No" "Would You Like To Run In Fullscreen Mode?" No
answer_box ERROR OK "Initialization Failed." OK
wait_exit
[ "$RC" = 0 ] || fail "exit code $RC"
demo_lines | grep -q "^ERROR: Initialization Failed.$" || fail "no 'Initialization Failed.' line"
! demo_lines | grep -q "^Error:" || fail "the loader showed a box for a missing file"
echo PASS

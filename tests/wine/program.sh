# kelvorin.exe as it is shipped in the zip: stripped, with no link time in its header, marked for
# address space layout randomisation (with its relocations), high-entropy addresses, DEP and
# terminal servers, with libssp's stack protector and fortified calls inside it; and, as Windows
# reads them, version information naming KELVORIN at the version in VERSION, and the demo's
# icon, the very picture of the Debian package's icon (build/kelvorin.png).
source "$(dirname "$0")/wine.bash"
exe=$WIN_BUILD/kelvorin.exe
SRC=${SRC:?SRC must point at the sources}

header=$(TZ=UTC x86_64-w64-mingw32-objdump -p "$exe") || fail "objdump cannot read $exe"
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE; do
  grep -Eq "^[[:space:]]+$flag\$" <<<"$header" || fail "kelvorin.exe is not marked $flag"
done
grep -Eq '^Entry 5 0+ 0+ ' <<<"$header" && fail "kelvorin.exe has no relocations to move it"
grep -q '^Time/Date[[:space:]]*Thu Jan  1 00:00:00 1970$' <<<"$header" ||
  fail "kelvorin.exe has a link time: $(grep '^Time/Date' <<<"$header")"
x86_64-w64-mingw32-objdump -t "$exe" | grep -q "no symbols" || fail "kelvorin.exe has a symbol table"
! x86_64-w64-mingw32-objdump -h "$exe" | grep -q '\.debug_' || fail "kelvorin.exe has debugging sections"
for handler in "stack smashing detected" "buffer overflow detected"; do
  grep -q "\*\*\* $handler \*\*\*" "$exe" || fail "no '$handler' handler: libssp is not linked in"
done

start_x_server
version=$(probe version "Z:$exe" | tr -d '\r') || fail "Windows reads no version information"
expected="ProductName: KELVORIN
ProductVersion: $(cat "$SRC/VERSION")
FileVersion: $(cat "$SRC/VERSION")
FileDescription: KELVORIN real-time audiovisual demo"
[ "$version" = "$expected" ] || fail "the version information reads:
$version"
probe icon "Z:$exe" "Z:$WORK/icon.png" || fail "Windows finds no 256 x 256 icon in kelvorin.exe"
differing=$(compare -metric AE "$BUILD/kelvorin.png" "$WORK/icon.png" null: 2>&1)
[ "$differing" = 0 ] || fail "the program's icon is not build/kelvorin.png: $differing pixels differ"
echo PASS

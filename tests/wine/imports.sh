# kelvorin.exe needs no DLL beside it: it imports only Windows' own.
set -u
exe=${WIN_BUILD:?}/kelvorin.exe
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
[ -n "$dlls" ] || { echo "FAIL: no imports read from $exe" >&2; exit 1; }
status=0
for dll in $dlls; do
  case $dll in
    kernel32.dll | user32.dll | gdi32.dll | opengl32.dll | glu32.dll | winmm.dll | msvcrt.dll | \
      advapi32.dll | shell32.dll | ole32.dll | api-ms-win-*.dll) ;;
    *) echo "FAIL: kelvorin.exe imports $dll, which Windows does not have" >&2; status=1 ;;
  esac
done
[ $status = 0 ] && echo "PASS: imports $(echo $dlls)"
exit $status

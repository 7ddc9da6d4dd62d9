# Makes the Wine prefix that every Wine test of this run copies: wineboot -i in $WINE_MASTER,
# without a display, then waits for its wineserver and everything it started to end.
set -u
WINE_MASTER=${WINE_MASTER:?WINE_MASTER must name the prefix to make}
source "$(dirname "$0")/wine_env.bash"
unset DISPLAY WAYLAND_DISPLAY
rm -rf "$WINE_MASTER"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
WINEPREFIX=$WINE_MASTER timeout 150 "$WINE" wineboot -i >"$log" 2>&1 || {
  cat "$log" >&2; echo "FAIL: wineboot -i did not make the prefix" >&2; exit 1; }
# wineboot leaves its services to the wineserver, which ends them and itself once idle.
if ! WINEPREFIX=$WINE_MASTER timeout 60 "$WINESERVER" -w; then
  WINEPREFIX=$WINE_MASTER "$WINESERVER" -k
  echo "FAIL: the prefix's wineserver did not end within 60 s" >&2
  exit 1
fi
left=$(prefix_processes "$WINE_MASTER")
[ -z "$left" ] || { echo "FAIL: processes of the prefix outlived wineboot: $left" >&2; exit 1; }
[ -f "$WINE_MASTER/system.reg" ] || { echo "FAIL: wineboot wrote no registry" >&2; exit 1; }
echo PASS

# How the Wine tests run Wine: Debian's wine64 and wineserver, quiet, and without the .NET and
# HTML engines, which the demo does not use and which a new prefix would offer to install.
# WINEPREFIX is given to each Wine command, never exported, so that the test's own processes
# never count as the prefix's.
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# prefix_processes PREFIX: prints the ids of the processes that run in this Wine prefix.
prefix_processes() {
  grep -lsz -x "WINEPREFIX=$1" /proc/[0-9]*/environ | cut -d/ -f3 | tr '\n' ' '
}

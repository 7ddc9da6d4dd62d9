# Sourced by script/test and script/soak: the run-time options of the programs built with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/). Leaks are reported, less the
# suppressed ones of the system's libraries; the first undefined behaviour ends the program
# with its stack. A caller's ASAN_OPTIONS come first.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1
export LSAN_OPTIONS=suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

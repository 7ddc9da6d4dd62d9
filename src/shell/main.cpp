// The demo. It reads no command line: its inputs are the start question, Escape, F1 and Data/.
#include "shell/demo.h"
#include "shell/platform.h"

int main() {
    kelvorin::platform = &kelvorin::windowPlatform;
    return kelvorin::RunDemo();
}

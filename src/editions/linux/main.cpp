// The demo. It reads no command line: its inputs are the start question, Escape, F1 and Data/.
#include "platform/platform.h"
#include "shell/frame_loop.h"

int main() {
    kelvorin::platform = &kelvorin::windowPlatform;
    return kelvorin::RunDemo();
}

// The process's memory, for tests that check that it stays flat.
#pragma once
#include <malloc.h>
#include <unistd.h>

#include <cstdio>

namespace harness {

inline long ResidentKilobytes() {
    long pages = 0, resident = 0;
    FILE *f = std::fopen("/proc/self/statm", "r");
    if (!f) return -1;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = -1;
    std::fclose(f);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Bytes in use on the main thread's heap, where the scenes and the driver's calls on this thread
// allocate: exact, unlike the resident size, which moves by whole arenas and thread stacks.
inline long HeapBytesInUse() {
    struct mallinfo2 info = mallinfo2();
    return long(info.uordblks + info.hblkhd);
}

}  // namespace harness

// What this process holds, for tests that a repeated operation leaves
// nothing behind: open handles, threads, and heap memory in use.
#pragma once

#include <windows.h>

// Wine answers GetProcessHandleCount with 0, so the handle table is
// walked: handle values are multiples of four, and a test process holds
// few.
int CountHandles();
int CountThreads();
// The bytes of every busy block of every heap of the process.
SIZE_T HeapBytesInUse();

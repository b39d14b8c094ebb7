// Zero-filled blocks of movable global memory, kept locked while in use: the
// catalogue array and the scan's folder queue live in them.
#pragma once

#include <windows.h>

// Every block is allocated through this pointer, so a test can make an
// allocation fail; it is GlobalAlloc otherwise.
extern HGLOBAL(WINAPI* g_pfnGlobalAlloc)(UINT uFlags, SIZE_T dwBytes);

// A new zero-filled block of cb bytes, locked; null when memory runs out.
void* AllocZeroedBlock(SIZE_T cb);

// Replaces the block p of cbOld bytes with a zero-filled one of cbNew bytes
// holding the old contents, and releases the old block. On failure the old
// block is left as it was and null comes back.
void* GrowZeroedBlock(void* p, SIZE_T cbOld, SIZE_T cbNew);

// Unlocks and releases a block from AllocZeroedBlock; null is ignored.
void FreeBlock(void* p);

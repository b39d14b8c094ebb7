#include "catalogue/GlobalBlock.h"

#include <cstring>

HGLOBAL(WINAPI* g_pfnGlobalAlloc)(UINT uFlags, SIZE_T dwBytes) = &::GlobalAlloc;

void* AllocZeroedBlock(SIZE_T cb)
{
    HGLOBAL hBlock = g_pfnGlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, cb);
    if (hBlock == nullptr)
        return nullptr;
    void* p = ::GlobalLock(hBlock);
    if (p == nullptr)
        ::GlobalFree(hBlock);
    return p;
}

void* GrowZeroedBlock(void* p, SIZE_T cbOld, SIZE_T cbNew)
{
    void* pNew = AllocZeroedBlock(cbNew);
    if (pNew == nullptr)
        return nullptr;
    if (p != nullptr) {
        std::memcpy(pNew, p, cbOld);
        FreeBlock(p);
    }
    return pNew;
}

void FreeBlock(void* p)
{
    if (p == nullptr)
        return;
    HGLOBAL hBlock = ::GlobalHandle(p);
    ::GlobalUnlock(hBlock);
    ::GlobalFree(hBlock);
}

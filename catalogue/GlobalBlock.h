// Zero-filled blocks of movable global memory, kept locked while in use: the
// catalogue array, the scan's folder queue and collected entries, the title
// keys and the sort's indices live in them.
#pragma once

#include <windows.h>
#include <type_traits>

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

// An array of plain records in one block of the functions above, released
// when the array goes out of scope.
template <typename T> class CBlockArray
{
    static_assert(std::is_trivially_copyable_v<T>, "records move bytewise when the block grows");

public:
    CBlockArray() = default;
    CBlockArray(const CBlockArray&) = delete;
    CBlockArray& operator=(const CBlockArray&) = delete;
    ~CBlockArray() { FreeBlock(m_p); }

    // Room for nNew records, zero-filled past the first nOld, which are
    // kept. FALSE, with the array as it was, when memory runs out.
    BOOL Grow(int nOld, int nNew)
    {
        void* pGrown = GrowZeroedBlock(m_p, nOld * sizeof(T), nNew * sizeof(T));
        if (pGrown == nullptr)
            return FALSE;
        m_p = static_cast<T*>(pGrown);
        return TRUE;
    }

    T* Get() const { return m_p; }
    T& operator[](int nIndex) const { return m_p[nIndex]; }

private:
    T* m_p = nullptr;
};

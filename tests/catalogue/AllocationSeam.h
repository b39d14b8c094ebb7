// Stands in for GlobalAlloc while alive, so a test can make one of the
// catalogue's block allocations fail.
#pragma once

#include "catalogue/GlobalBlock.h"

#include <vector>

class CAllocationSeam
{
public:
    // Fails the request numbered nFailAt (1-based; 0 never fails).
    explicit CAllocationSeam(int nFailAt = 0)
    {
        s_nFailAt = nFailAt;
        s_sizes.clear();
        g_pfnGlobalAlloc = &Alloc;
    }
    ~CAllocationSeam() { g_pfnGlobalAlloc = &::GlobalAlloc; }
    CAllocationSeam(const CAllocationSeam&) = delete;
    CAllocationSeam& operator=(const CAllocationSeam&) = delete;

    // Every size requested so far, in order.
    static const std::vector<SIZE_T>& Sizes() { return s_sizes; }

private:
    static HGLOBAL WINAPI Alloc(UINT uFlags, SIZE_T cb)
    {
        s_sizes.push_back(cb);
        if (static_cast<int>(s_sizes.size()) == s_nFailAt)
            return nullptr;
        return ::GlobalAlloc(uFlags, cb);
    }
    static inline int s_nFailAt = 0;
    static inline std::vector<SIZE_T> s_sizes;
};

// How many entries of the catalogue are ticked and how large they are
// together: what the totals bar shows and what an installation copies.
#pragma once

#include "catalogue/ContentEntry.h"

#include <windows.h>

struct TICKED_TOTALS
{
    int nCount;
    // Summed in 64 bits, each size taken as unsigned 32 bits, so that
    // 2 GiB and more still add up.
    ULONGLONG ullBytes;
};

// One pass over the entries; an entry counts when its tick word is nonzero.
TICKED_TOTALS SumTickedEntries(const ContentEntry* pEntries, int nEntries);

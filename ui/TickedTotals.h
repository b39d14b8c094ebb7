// What the totals bar shows: how many entries are ticked and their size.
#pragma once

#include "app/ContentEntry.h"
#include "platform/framework/CString.h"

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

// "label: count" and "label: kilobytes KB", the byte total rounded up once.
CString FormatCountCell(LPCSTR pszLabel, int nCount);
CString FormatSizeCell(LPCSTR pszLabel, ULONGLONG ullBytes);

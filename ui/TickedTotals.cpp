#include "ui/TickedTotals.h"

TICKED_TOTALS SumTickedEntries(const ContentEntry* pEntries, int nEntries)
{
    TICKED_TOTALS totals = { 0, 0 };
    for (int i = 0; i < nEntries; ++i) {
        if (pEntries[i].bSelected != 0) {
            ++totals.nCount;
            totals.ullBytes += static_cast<UINT>(pEntries[i].nSize);
        }
    }
    return totals;
}

CString FormatCountCell(LPCSTR pszLabel, int nCount)
{
    CString str;
    str.Format("%s: %d", pszLabel, nCount);
    return str;
}

CString FormatSizeCell(LPCSTR pszLabel, ULONGLONG ullBytes)
{
    CString str;
    str.Format("%s: %llu KB", pszLabel, (ullBytes + 1023) / 1024);
    return str;
}

#include "catalogue/TickedTotals.h"

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

#include "catalogue/EntrySort.h"
#include "catalogue/GlobalBlock.h"

#include "platform/framework/CString.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Whether the entry at index a sorts after the one at index b.
bool SortsAfter(const TitleKey* pKeys, int a, int b)
{
    return AfxCompareMultibyte(pKeys[a].sz, pKeys[b].sz) > 0;
}

// Merges the sorted runs pnFrom[nBegin, nMiddle) and pnFrom[nMiddle, nEnd)
// into pnTo. On equal keys the left run goes first, which keeps the sort
// stable.
void MergeRuns(const TitleKey* pKeys, const int* pnFrom, int* pnTo, int nBegin, int nMiddle, int nEnd)
{
    int iLeft = nBegin;
    int iRight = nMiddle;
    for (int i = nBegin; i < nEnd; ++i) {
        const bool bTakeLeft = iRight == nEnd || (iLeft < nMiddle && !SortsAfter(pKeys, pnFrom[iLeft], pnFrom[iRight]));
        pnTo[i] = bTakeLeft ? pnFrom[iLeft++] : pnFrom[iRight++];
    }
}

// Bottom-up merge sort of the indices 0 .. nEntries - 1 by their keys,
// passing between pnOrder and pnSpare (nEntries each). Returns whichever of
// the two holds the sorted order: pnOrder[i] is the index of the entry that
// belongs at i.
int* SortedOrder(const TitleKey* pKeys, int nEntries, int* pnOrder, int* pnSpare)
{
    for (int i = 0; i < nEntries; ++i)
        pnOrder[i] = i;
    for (int nWidth = 1; nWidth < nEntries; nWidth *= 2) {
        for (int nBegin = 0; nBegin < nEntries; nBegin += 2 * nWidth) {
            const int nMiddle = std::min(nBegin + nWidth, nEntries);
            const int nEnd = std::min(nMiddle + nWidth, nEntries);
            MergeRuns(pKeys, pnOrder, pnSpare, nBegin, nMiddle, nEnd);
        }
        std::swap(pnOrder, pnSpare);
    }
    return pnOrder;
}

// Moves every record to its place, each once: follows each cycle of the
// permutation holding one record aside, and marks a filled place i by
// setting pnOrder[i] to i.
void ApplyOrder(ContentEntry* pEntries, int* pnOrder, int nEntries)
{
    for (int nStart = 0; nStart < nEntries; ++nStart) {
        if (pnOrder[nStart] == nStart)
            continue;
        const ContentEntry held = pEntries[nStart];
        int nPlace = nStart;
        while (pnOrder[nPlace] != nStart) {
            const int nFrom = pnOrder[nPlace];
            pEntries[nPlace] = pEntries[nFrom];
            pnOrder[nPlace] = nPlace;
            nPlace = nFrom;
        }
        pEntries[nPlace] = held;
        pnOrder[nPlace] = nPlace;
    }
}

}   // namespace

void MakeTitleKey(const ContentEntry& entry, TitleKey& key)
{
    std::memcpy(key.sz, entry.szTitle, sizeof(entry.szTitle));
    key.sz[sizeof(entry.szTitle)] = '\0';
    AfxLowerMultibyte(key.sz);
}

BOOL SortEntriesByTitle(ContentEntry* pEntries, const TitleKey* pKeys, int nEntries)
{
    if (nEntries < 2)
        return TRUE;
    CBlockArray<int> scratch;
    if (!scratch.Grow(0, 2 * nEntries))
        return FALSE;
    int* pnOrder = SortedOrder(pKeys, nEntries, scratch.Get(), scratch.Get() + nEntries);
    ApplyOrder(pEntries, pnOrder, nEntries);
    return TRUE;
}

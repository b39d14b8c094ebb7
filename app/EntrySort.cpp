#include "app/EntrySort.h"

#include "platform/framework/CString.h"

#include <cstring>

namespace {

struct LowerTitle
{
    explicit LowerTitle(const ContentEntry& entry)
    {
        std::memcpy(sz, entry.szTitle, sizeof(entry.szTitle));
        sz[sizeof(entry.szTitle)] = '\0';
        AfxLowerMultibyte(sz);
    }
    char sz[sizeof(ContentEntry::szTitle) + 1];
};

}   // namespace

void SortEntriesByTitle(ContentEntry* pEntries, int nEntries)
{
    for (int i = 1; i < nEntries; ++i) {
        const ContentEntry lifted = pEntries[i];
        const LowerTitle liftedTitle(lifted);
        int j = i;
        while (j > 0 && AfxCompareMultibyte(LowerTitle(pEntries[j - 1]).sz, liftedTitle.sz) > 0) {
            pEntries[j] = pEntries[j - 1];
            --j;
        }
        pEntries[j] = lifted;
    }
}

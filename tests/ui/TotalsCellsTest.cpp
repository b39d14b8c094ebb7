#include "ui/TotalsCells.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<ContentEntry> Entries(std::initializer_list<std::pair<int, int>> ticksAndSizes)
{
    std::vector<ContentEntry> entries;
    for (const auto& p : ticksAndSizes) {
        ContentEntry entry = {};
        entry.bSelected = p.first;
        entry.nSize = p.second;
        entries.push_back(entry);
    }
    return entries;
}

TEST(TickedTotals, CountAndSizeOfTheTickedEntries)
{
    const struct
    {
        std::vector<ContentEntry> entries;
        int nCount;
        const char* pszSize;
    } cases[] = {
        { {}, 0, "S: 0 KB" },
        { Entries({ { 0, 5000 }, { 0, 1 } }), 0, "S: 0 KB" },
        // Rounded up once from the exact sum, not per entry.
        { Entries({ { 1, 1 }, { 1, 1 } }), 2, "S: 1 KB" },
        { Entries({ { 1, 1024 }, { 0, 99999 }, { 1, 1 } }), 2, "S: 2 KB" },
        // A tick word is counted when it is nonzero at all.
        { Entries({ { 2, 2048 } }), 1, "S: 2 KB" },
        // Totals past the signed 32-bit range: 2 GiB, and 3 GiB from two
        // sizes read as unsigned.
        { Entries({ { 1, 0x7FFFFC00 }, { 1, 1024 } }), 2, "S: 2097152 KB" },
        { Entries({ { 1, static_cast<int>(0x80000000u) }, { 1, 0x40000000 } }), 2, "S: 3145728 KB" },
    };
    for (const auto& c : cases) {
        const TICKED_TOTALS totals = SumTickedEntries(c.entries.data(), static_cast<int>(c.entries.size()));
        EXPECT_EQ(c.nCount, totals.nCount);
        EXPECT_STREQ(c.pszSize, FormatSizeCell("S", totals.ullBytes));
    }
    EXPECT_STREQ("N: 12", FormatCountCell("N", 12));
}

}   // namespace

#include "catalogue/EntryBlocks.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

ContentEntry NumberedEntry(int nEntry)
{
    ContentEntry entry = {};
    entry.nSize = nEntry;
    std::snprintf(entry.szTitle, sizeof(entry.szTitle), "Title %d", nEntry);
    std::snprintf(entry.szPath, sizeof(entry.szPath), "C:\\content\\f%d.kda", nEntry);
    return entry;
}

TEST(EntryBlocks, GatherGivesEveryEntryWithItsKeyInTheOrderAppended)
{
    // Counts on either side of block boundaries.
    for (int nEntries : { 0, 1, 49, 50, 51, 100, 101, 173 }) {
        SCOPED_TRACE(nEntries);
        CEntryBlocks blocks;
        for (int i = 0; i < nEntries; ++i)
            ASSERT_TRUE(blocks.Append(NumberedEntry(i)));
        ASSERT_EQ(nEntries, blocks.GetCount());

        // One spare record past the end of each shows that nothing is
        // written beyond the count.
        std::vector<ContentEntry> entries(nEntries + 1, NumberedEntry(-1));
        std::vector<TitleKey> keys(nEntries + 1, TitleKey{ "sentinel" });
        blocks.Gather(entries.data(), keys.data());
        for (int i = 0; i < nEntries; ++i) {
            EXPECT_EQ(i, entries[i].nSize);
            EXPECT_EQ("C:\\content\\f" + std::to_string(i) + ".kda", entries[i].szPath);
            EXPECT_EQ("title " + std::to_string(i), keys[i].sz);
        }
        EXPECT_EQ(-1, entries[nEntries].nSize);
        EXPECT_STREQ("sentinel", keys[nEntries].sz);
    }
}

}   // namespace

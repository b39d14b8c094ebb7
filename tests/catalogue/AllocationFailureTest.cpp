#include "catalogue/EntryBlocks.h"
#include "catalogue/EntrySort.h"
#include "tests/catalogue/AllocationSeam.h"
#include "tests/catalogue/CatalogueFixture.h"
#include "tests/support/AnsiText.h"
#include "tests/support/MessageBoxRecorder.h"

namespace {

constexpr SIZE_T QUEUE_SLOT = 256;
constexpr SIZE_T ENTRY = sizeof(ContentEntry);
constexpr SIZE_T KEY = sizeof(TitleKey);
constexpr SIZE_T SORT_INDEX = sizeof(int);
constexpr SIZE_T ENTRY_BLOCK = sizeof(CEntryBlocks::Block);
static_assert(ENTRY_BLOCK >= 50 * (ENTRY + KEY) && ENTRY_BLOCK < 51 * (ENTRY + KEY),
              "a collecting block holds 50 entries with their keys");

struct GrowthCase
{
    int nFiles;
    std::vector<SIZE_T> sizes;   // every allocation of the scan, in order
};

TEST_F(CatalogueTest, CatalogueGrowsFiftyEntriesAtATime)
{
    // The first accepted file adds a block of 50, the 51st a second one.
    // Once the walk is over the entries and their keys are gathered into
    // blocks of exactly their number, and the sort takes two indices per
    // entry.
    const GrowthCase cases[] = {
        { 0, { 10 * QUEUE_SLOT } },
        { 1, { 10 * QUEUE_SLOT, ENTRY_BLOCK, ENTRY, KEY } },
        { 50, { 10 * QUEUE_SLOT, ENTRY_BLOCK, 50 * ENTRY, 50 * KEY, 2 * 50 * SORT_INDEX } },
        { 51, { 10 * QUEUE_SLOT, ENTRY_BLOCK, ENTRY_BLOCK, 51 * ENTRY, 51 * KEY, 2 * 51 * SORT_INDEX } },
    };
    int nMade = 0;
    for (const GrowthCase& c : cases) {
        for (; nMade < c.nFiles; ++nMade)
            AddContent("c" + std::to_string(nMade) + ".kda", "Title " + std::to_string(nMade), 200);

        CAllocationSeam seam;
        ASSERT_TRUE(Scan()) << c.nFiles;
        EXPECT_EQ(c.nFiles, m_doc.m_nEntries);
        EXPECT_EQ(c.sizes, CAllocationSeam::Sizes()) << c.nFiles << " files";
    }
}

TEST_F(CatalogueTest, FolderQueueGrowsTenSlotsAtATime)
{
    for (int i = 0; i < 11; ++i)
        m_folder.MakeFolder("sub" + std::to_string(i));

    CAllocationSeam seam;
    ASSERT_TRUE(Scan());
    EXPECT_EQ((std::vector<SIZE_T>{ 10 * QUEUE_SLOT, 20 * QUEUE_SLOT }), CAllocationSeam::Sizes());
}

struct FailureCase
{
    const char* pszWhat;
    int nFailAt;   // which allocation of the scan fails
};

TEST_F(CatalogueTest, OutOfMemoryWhileGrowingShowsTheMessageAndEmptiesTheCatalogue)
{
    for (int i = 0; i < 51; ++i)
        AddContent("c" + std::to_string(i) + ".kda", "Title", 200);
    for (int i = 0; i < 11; ++i)
        m_folder.MakeFolder("sub" + std::to_string(i));

    // Allocations of this scan, the files (c...) listed before the folders
    // (sub...): the queue, the block of the first 50 entries, the block of
    // the 51st, the queue's growth (11 folders), then the gathered entries,
    // their keys and the sort's indices.
    const FailureCase cases[] = {
        { "first block", 2 },      { "second block", 3 },  { "queue growth", 4 },
        { "gathered entries", 5 }, { "gathered keys", 6 }, { "sort indices", 7 },
    };
    for (const FailureCase& c : cases) {
        ASSERT_TRUE(Scan()) << "a full catalogue first";
        ASSERT_EQ(51, m_doc.m_nEntries);

        CMessageBoxRecorder boxes;
        CAllocationSeam seam(c.nFailAt);
        EXPECT_FALSE(Scan()) << c.pszWhat;
        EXPECT_EQ(nullptr, m_doc.m_pEntries) << c.pszWhat;
        EXPECT_EQ(0, m_doc.m_nEntries) << c.pszWhat;
        ASSERT_EQ(1u, boxes.Boxes().size()) << c.pszWhat;
        EXPECT_EQ(AnsiFromUtf8("記憶體不足."), boxes.Boxes()[0].strText);
        EXPECT_EQ("Tarnix", boxes.Boxes()[0].strCaption);
        EXPECT_EQ(static_cast<UINT>(MB_OK), boxes.Boxes()[0].uType);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.Boxes()[0].uIcon);
    }
}

TEST_F(CatalogueTest, NoMemoryForTheQueueKeepsTheCatalogueSilently)
{
    AddContent("one.kda", "One");
    ASSERT_TRUE(Scan());

    CMessageBoxRecorder boxes;
    CAllocationSeam seam(1);
    EXPECT_FALSE(Scan());
    EXPECT_EQ(1, m_doc.m_nEntries);
    EXPECT_STREQ("One", m_doc.m_pEntries[0].szTitle);
    EXPECT_TRUE(boxes.Boxes().empty());
}

}   // namespace

#include "app/EntrySort.h"
#include "tests/app/AllocationSeam.h"
#include "tests/app/CatalogueFixture.h"
#include "tests/support/AnsiText.h"
#include "tests/support/MessageBoxRecorder.h"

namespace {

constexpr SIZE_T QUEUE_SLOT = 256;
constexpr SIZE_T ENTRY = sizeof(ContentEntry);
constexpr SIZE_T KEY = sizeof(TitleKey);
constexpr SIZE_T SORT_INDEX = sizeof(int);

TEST_F(CatalogueTest, CatalogueGrowsFiftyEntriesAtATime)
{
    for (int i = 0; i < 51; ++i)
        AddContent("c" + std::to_string(i) + ".kda", "Title " + std::to_string(i), 200);

    // The title keys grow with the entries; the sort takes two indices per
    // entry once, at the end.
    CAllocationSeam seam;
    ASSERT_TRUE(Scan());
    EXPECT_EQ(51, m_doc.m_nEntries);
    EXPECT_EQ(
        (std::vector<SIZE_T>{ 10 * QUEUE_SLOT, 50 * ENTRY, 50 * KEY, 100 * ENTRY, 100 * KEY, 2 * 51 * SORT_INDEX }),
        CAllocationSeam::Sizes());
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
    // (sub...): the queue, the first 50 entries and their keys, the growth
    // of both to 100, the queue's growth (11 folders), the sort's indices.
    const FailureCase cases[] = {
        { "first entries", 2 }, { "first keys", 3 },   { "entry growth", 4 },
        { "key growth", 5 },    { "queue growth", 6 }, { "sort indices", 7 },
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

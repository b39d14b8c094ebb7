#include "tests/catalogue/CatalogueFixture.h"
#include "tests/support/AnsiText.h"

#include <algorithm>
#include <cstring>

using testing::ElementsAre;
using testing::UnorderedElementsAre;

namespace {

TEST_F(CatalogueTest, FolderWithoutContentGivesAnEmptyCatalogue)
{
    m_folder.MakeFile("readme.txt", "hello");
    EXPECT_TRUE(Scan());
    EXPECT_EQ(nullptr, m_doc.m_pEntries);
    EXPECT_EQ(0, m_doc.m_nEntries);
}

TEST_F(CatalogueTest, OnlyFilesWithTheDictionaryHeaderAreListed)
{
    AddContent("good.kda", "Good");
    // A short file is judged on the bytes it has.
    m_folder.MakeFile("short.kda", ContentFileBytes(MakeContentHeader("Short"), 100));
    m_folder.MakeFile("othercode.kda", ContentFileBytes(MakeContentHeader("Other", "BK_DIC_QY")));
    m_folder.MakeFile("longercode.kda", ContentFileBytes(MakeContentHeader("Longer", "BK_DIC_QXX")));
    m_folder.MakeFile("notitle.kda", ContentFileBytes(MakeContentHeader("")));
    std::string bytes = ContentFileBytes(MakeContentHeader("Lower magic"));
    bytes[0] = 'k';
    bytes[1] = 'd';
    m_folder.MakeFile("lowermagic.kda", bytes);
    m_folder.MakeFile("empty.kda");
    m_folder.MakeFile("tiny.kda", "K");

    ASSERT_TRUE(Scan());
    EXPECT_THAT(ListedFileNames(), UnorderedElementsAre("good.kda", "short.kda"));
}

TEST_F(CatalogueTest, ExtensionIgnoresCaseButMustBeExact)
{
    // One folder each: the file system itself ignores case.
    AddContent("1\\BOOK.KDA", "Upper");
    AddContent("2\\book.kda", "Lower");
    AddContent("3\\book.Kda", "Mixed");
    AddContent("book.kdax", "Longer extension");
    AddContent("bookkda", "No dot");
    AddContent("x.kda\\inner.kda", "Inside a folder named like content");

    ASSERT_TRUE(Scan());
    EXPECT_THAT(ListedFileNames(), UnorderedElementsAre("BOOK.KDA", "book.kda", "book.Kda", "inner.kda"));
}

TEST_F(CatalogueTest, SubfoldersAtAnyDepthButNoDotFolders)
{
    AddContent("top.kda", "Top");
    AddContent("a\\one.kda", "One");
    AddContent("a\\b\\c\\d\\e\\deep.kda", "Deep");
    AddContent(".hidden\\skipped.kda", "Skipped");
    AddContent(".hidden\\below\\skipped2.kda", "Skipped too");
    AddContent("a\\.git\\skipped3.kda", "Skipped three");

    ASSERT_TRUE(Scan());
    EXPECT_THAT(ListedFileNames(), UnorderedElementsAre("top.kda", "one.kda", "deep.kda"));
}

TEST_F(CatalogueTest, FoldersAreVisitedBreadthFirst)
{
    // Equal titles keep scan order through the sort, so the order of the
    // list is the order of the walk.
    AddContent("z1.kda", "Same");
    AddContent("a\\x\\deep1.kda", "Same");
    AddContent("a\\mid1.kda", "Same");
    AddContent("b\\mid2.kda", "Same");
    AddContent("b\\y\\z\\deeper.kda", "Same");
    AddContent("b\\y\\deep2.kda", "Same");

    ASSERT_TRUE(Scan());
    std::vector<int> depths;
    for (int i = 0; i < m_doc.m_nEntries; ++i) {
        const char* pszRelative = m_doc.m_pEntries[i].szPath + m_folder.Path().size() + 1;
        depths.push_back(static_cast<int>(std::count(pszRelative, pszRelative + std::strlen(pszRelative), '\\')));
    }
    EXPECT_THAT(depths, ElementsAre(0, 1, 1, 2, 2, 3));
}

TEST_F(CatalogueTest, EntriesCarryTitleSizeNamesAndNoTicks)
{
    const std::string strPath = AddContent("sub\\dict.kda", "Dictionary", 70000);
    // A title filling its whole field has no terminator and is read whole.
    const std::string strFull(48, 'T');
    AddContent("full.kda", strFull, 200);

    ASSERT_TRUE(Scan());
    ASSERT_EQ(2, m_doc.m_nEntries);
    const ContentEntry& dict = m_doc.m_pEntries[0];
    EXPECT_STREQ("Dictionary", dict.szTitle);
    EXPECT_STREQ("dict.kda", dict.szFileName);
    EXPECT_EQ(strPath, dict.szPath);
    EXPECT_EQ(70000, dict.nSize);
    const ContentEntry& full = m_doc.m_pEntries[1];
    EXPECT_EQ(strFull, full.szTitle);
    EXPECT_EQ(200, full.nSize);
    for (int i = 0; i < m_doc.m_nEntries; ++i) {
        EXPECT_EQ(0, m_doc.m_pEntries[i].bSelected);
        EXPECT_EQ(0, m_doc.m_pEntries[i].nPlaySeconds);
    }
}

TEST_F(CatalogueTest, TitlesSortIgnoringCaseAndEqualTitlesKeepScanOrder)
{
    // One folder per title fixes the scan order b, A, a.
    AddContent("1\\first.kda", "b");
    AddContent("1\\2\\second.kda", "A");
    AddContent("1\\2\\3\\third.kda", "a");

    ASSERT_TRUE(Scan());
    EXPECT_THAT(ListedTitles(), ElementsAre("A", "a", "b"));
    EXPECT_THAT(ListedFileNames(), ElementsAre("second.kda", "third.kda", "first.kda"));
}

TEST_F(CatalogueTest, NamesAndPathsTooLongForTheirFieldsAreSkipped)
{
    AddContent(std::string(59, 'n') + ".kda", "Fits");       // 63 bytes
    AddContent(std::string(60, 'n') + ".kda", "Too long");   // 64 bytes
    // A folder of 240 characters: a 6-character name fits the 255 of a
    // full path, a 15-character one does not.
    std::string strDeep;
    while (m_folder.Path().size() + 1 + strDeep.size() + 11 < 240)
        strDeep += "abcdefghi\\";
    strDeep += std::string(240 - m_folder.Path().size() - 1 - strDeep.size(), 'f');
    ASSERT_EQ(240u, m_folder.PathOf(strDeep).size());
    AddContent(strDeep + "\\ok.kda", "Fits too");
    AddContent(strDeep + "\\longpath-xy.kda", "Path too long");

    ASSERT_TRUE(Scan());
    EXPECT_THAT(ListedFileNames(), UnorderedElementsAre(std::string(59, 'n') + ".kda", "ok.kda"));
}

TEST_F(CatalogueTest, EmptyContentFolderPathLeavesTheCatalogue)
{
    AddContent("one.kda", "One");
    ASSERT_TRUE(Scan());
    ContentEntry* pBefore = m_doc.m_pEntries;

    m_doc.m_strPaths[0] = "";
    EXPECT_FALSE(m_doc.ScanContent(".kda"));
    EXPECT_EQ(pBefore, m_doc.m_pEntries);
    EXPECT_EQ(1, m_doc.m_nEntries);
}

TEST_F(CatalogueTest, RescanDiscardsTicksAndFollowsTheFolder)
{
    AddContent("one.kda", "One");
    ASSERT_TRUE(Scan());
    m_doc.m_pEntries[0].bSelected = 1;
    AddContent("two.kda", "Two");

    ASSERT_TRUE(Scan());
    ASSERT_EQ(2, m_doc.m_nEntries);
    EXPECT_EQ(0, m_doc.m_pEntries[0].bSelected);
    EXPECT_EQ(0, m_doc.m_pEntries[1].bSelected);
}

TEST_F(CatalogueTest, ContentFolderMayEndInABackslash)
{
    AddContent("one.kda", "One");
    m_doc.m_strPaths[0] = (m_folder.Path() + "\\").c_str();
    ASSERT_TRUE(m_doc.ScanContent(".kda"));
    ASSERT_EQ(1, m_doc.m_nEntries);
    EXPECT_EQ(m_folder.PathOf("one.kda"), m_doc.m_pEntries[0].szPath);
}

}   // namespace

namespace {

// Extends a file to cbLength bytes without writing them (sparse on the
// host's file system), keeping its first bytes.
void ExtendFile(const std::string& strPath, LONGLONG cbLength)
{
    HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    LARGE_INTEGER li;
    li.QuadPart = cbLength;
    EXPECT_TRUE(::SetFilePointerEx(hFile, li, nullptr, FILE_BEGIN));
    EXPECT_TRUE(::SetEndOfFile(hFile));
    ::CloseHandle(hFile);
}

TEST_F(CatalogueTest, SizesUpToFourGigabytesAreKeptLargerFilesAreLeftOut)
{
    ExtendFile(AddContent("three.kda", "Three gigabytes"), 3LL << 30);
    ExtendFile(AddContent("max.kda", "Largest listed"), 0xFFFFFFFFLL);
    ExtendFile(AddContent("huge.kda", "Too large"), (4LL << 30) + 200);

    ASSERT_TRUE(Scan());
    ASSERT_THAT(ListedFileNames(), ElementsAre("max.kda", "three.kda"));
    EXPECT_EQ(0xFFFFFFFFu, static_cast<unsigned>(m_doc.m_pEntries[0].nSize));
    EXPECT_EQ(3u << 30, static_cast<unsigned>(m_doc.m_pEntries[1].nSize));
}

}   // namespace

namespace {

TEST_F(CatalogueTest, FolderNamesEndingInABackslashLikeTrailByteAreScanned)
{
    // In code page 950 the second byte of 許 is the backslash's byte value.
    const std::string strXu = AnsiFromUtf8("許");
    AddContent(strXu + "\\inside.kda", "Inside");
    AddContent(strXu + "\\" + strXu + "\\deeper.kda", "Deeper");

    m_doc.m_strPaths[0] = m_folder.PathOf(strXu).c_str();
    ASSERT_TRUE(m_doc.ScanContent(".kda"));
    EXPECT_THAT(ListedFileNames(), ElementsAre("deeper.kda", "inside.kda"));
    EXPECT_EQ(m_folder.PathOf(strXu + "\\inside.kda"), m_doc.m_pEntries[1].szPath);
}

}   // namespace

// Listings of the emulated handheld through the stand-in library: which
// entries each flag leaves out, which fields it fills, and attributes that
// come from the handheld's own records.
#include "tests/platform/rapi/StandInFixture.h"

namespace {
constexpr DWORD TREE_FLAGS = FAF_ATTRIBUTES | FAF_NAME | FAF_FOLDERS_ONLY | FAF_NO_HIDDEN_SYS_ROMMODULES;

using Names = std::vector<std::wstring>;

class StandInListingTest : public StandInTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StandInTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(Connect());
        ASSERT_TRUE(WriteHandheldFile(L"\\My Documents\\notes.kda", "12345"));
        ASSERT_TRUE(WriteHandheldFile(L"\\readme.txt", ""));
    }
};

TEST_F(StandInListingTest, FlagsChooseTheEntries)
{
    const struct
    {
        const wchar_t* pszPattern;
        DWORD dwFlags;
        Names expected;
    } cases[] = {
        { L"\\*", TREE_FLAGS, { L"My Documents", L"Program Files", L"Storage Card", L"Temp", L"Windows" } },
        { L"\\*",
          FAF_NAME | FAF_FOLDERS_ONLY,
          { L"My Documents", L"Program Files", L"ROM Modules", L"Storage Card", L"Temp", L"Windows" } },
        { L"\\*",
          FAF_NAME | FAF_NO_HIDDEN_SYS_ROMMODULES,
          { L"My Documents", L"Program Files", L"Storage Card", L"Temp", L"Windows", L"readme.txt" } },
        { L"\\*",
          FAF_NAME,
          { L"My Documents", L"Program Files", L"ROM Modules", L"Storage Card", L"Temp", L"Windows", L"readme.txt" } },
        { L"\\Windows\\*", TREE_FLAGS, { L"Start Menu" } },
        { L"\\Windows\\*", FAF_NAME, { L"Fonts", L"Start Menu" } },
        { L"\\MY DOCUMENTS\\*", TREE_FLAGS, { L"Personal", L"Templates" } },
        { L"\\My Documents\\*.KDA", FAF_NAME, { L"notes.kda" } },
        { L"\\Temp\\*", TREE_FLAGS, {} },
    };
    for (const auto& c : cases) {
        Listing listing = ListFiles(c.pszPattern, c.dwFlags);
        EXPECT_TRUE(listing.bOk) << c.pszPattern;
        EXPECT_EQ(c.expected, listing.Names()) << c.pszPattern << " flags " << std::hex << c.dwFlags;
    }
}

TEST_F(StandInListingTest, FlagsChooseTheFields)
{
    Listing withBoth = ListFiles(L"\\*", TREE_FLAGS);
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY), withBoth.AttributesOf(L"My Documents"));
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM), withBoth.AttributesOf(L"Windows"));
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY), withBoth.AttributesOf(L"Storage Card"));

    Listing namesOnly = ListFiles(L"\\*", FAF_NAME | FAF_FOLDERS_ONLY);
    EXPECT_EQ(DWORD(0), namesOnly.AttributesOf(L"Windows"));

    Listing attributesOnly = ListFiles(L"\\*", FAF_ATTRIBUTES | FAF_FOLDERS_ONLY);
    ASSERT_EQ(size_t(6), attributesOnly.records.size());
    for (const CE_FIND_DATA& record : attributesOnly.records) {
        EXPECT_EQ(L'\0', record.cFileName[0]);
        EXPECT_TRUE(record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    Listing sizes = ListFiles(L"\\My Documents\\notes.kda", FAF_NAME | FAF_SIZE_LOW | FAF_SIZE_HIGH);
    ASSERT_EQ(size_t(1), sizes.records.size());
    EXPECT_EQ(DWORD(5), sizes.records[0].nFileSizeLow);
    EXPECT_EQ(DWORD(0), sizes.records[0].dwFileAttributes);
    EXPECT_EQ(DWORD(0), sizes.records[0].ftLastWriteTime.dwLowDateTime);
}

TEST_F(StandInListingTest, MissingFolderFailsWithoutBuffer)
{
    DWORD nCount = 7;
    CE_FIND_DATA* pRecords = reinterpret_cast<CE_FIND_DATA*>(1);
    EXPECT_FALSE(CeFindAllFiles(L"\\No Such Folder\\*", TREE_FLAGS, &nCount, &pRecords));
    EXPECT_EQ(DWORD(0), nCount);
    EXPECT_EQ(nullptr, pRecords);
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), CeGetLastError());
}

// The handheld's attributes survive a restart of the emulator and are not
// read from the host: the host folder behind \Windows is a plain folder,
// and a host folder named like a ROM folder is listed as a plain one.
TEST_F(StandInListingTest, AttributesAreTheHandheldsOwnRecords)
{
    Disconnect();
    m_root.MakeFolder("Program Files\\ROM Modules");
    ASSERT_NO_FATAL_FAILURE(Connect());

    EXPECT_FALSE(GetFileAttributesA(m_root.PathOf("Windows").c_str()) & FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM),
              ListFiles(L"\\*", TREE_FLAGS).AttributesOf(L"Windows"));
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY),
              ListFiles(L"\\Program Files\\*", TREE_FLAGS).AttributesOf(L"ROM Modules"));
    EXPECT_EQ((Names{ L"Personal", L"Templates" }), ListFiles(L"\\My Documents\\*", TREE_FLAGS).Names());
}
}   // namespace

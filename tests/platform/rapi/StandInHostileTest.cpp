// A handheld that spoils its listings (the emulator's --hostile-listing):
// names that fill their field without a terminator, a count larger than
// the records sent, a last record cut short. The library hands back only
// the sound records, or fails the call and drops the link when the reply
// does not add up.
#include "tests/platform/rapi/StandInFixture.h"

namespace {
constexpr DWORD TREE_FLAGS = FAF_ATTRIBUTES | FAF_NAME | FAF_FOLDERS_ONLY | FAF_NO_HIDDEN_SYS_ROMMODULES;
constexpr DWORD NO_NAMES = FAF_ATTRIBUTES | FAF_FOLDERS_ONLY | FAF_NO_HIDDEN_SYS_ROMMODULES;

using Names = std::vector<std::wstring>;

const Names ROOT_FOLDERS = { L"My Documents", L"Program Files", L"Storage Card", L"Temp", L"Windows" };

class StandInHostileTest : public StandInTest
{
protected:
    // A new session with the emulator already running.
    void Reconnect()
    {
        m_pSession.reset();
        m_pSession.reset(new CStandInSession);
        ASSERT_TRUE(m_pSession->IsAnswered(ANSWER_TIMEOUT_MS)) << "the handheld did not answer";
        ASSERT_EQ(S_OK, m_pSession->HandheldResult());
    }

    // The call fails as the link's own failure, hands back nothing, and
    // the session's later calls fail with it.
    static void ExpectFailedListing(const wchar_t* pszPattern)
    {
        DWORD nCount = 7;
        LPCE_FIND_DATA pRecords = reinterpret_cast<LPCE_FIND_DATA>(1);
        EXPECT_FALSE(CeFindAllFiles(pszPattern, TREE_FLAGS, &nCount, &pRecords));
        EXPECT_EQ(DWORD(0), nCount);
        EXPECT_EQ(nullptr, pRecords);
        EXPECT_EQ(DWORD(ERROR_DEVICE_NOT_CONNECTED), CeGetLastError());
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED), CeRapiGetError());
        EXPECT_FALSE(WriteHandheldFile(L"\\Temp\\after.kda", "x")) << "the link is dropped";
    }
};

TEST_F(StandInHostileTest, NamesWithoutTerminatorAreLeftOut)
{
    ASSERT_NO_FATAL_FAILURE(Connect("--hostile-listing=unterminated"));
    const struct
    {
        const wchar_t* pszPattern;
        DWORD dwFlags;
        Names expected;
    } cases[] = {
        { L"\\*", TREE_FLAGS, ROOT_FOLDERS },
        { L"\\My Documents\\*", TREE_FLAGS, { L"Personal", L"Templates" } },
        { L"\\Temp\\*", TREE_FLAGS, {} },   // one unterminated record alone
        { L"\\*", NO_NAMES, Names(ROOT_FOLDERS.size()) },
    };
    for (const auto& c : cases) {
        const Listing listing = ListFiles(c.pszPattern, c.dwFlags);
        EXPECT_TRUE(listing.bOk) << c.pszPattern;
        EXPECT_EQ(c.expected, listing.Names()) << c.pszPattern << " flags " << std::hex << c.dwFlags;
    }
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM),
              ListFiles(L"\\*", TREE_FLAGS).AttributesOf(L"Windows"));
    EXPECT_TRUE(WriteHandheldFile(L"\\Temp\\after.kda", "the session goes on"));
}

TEST_F(StandInHostileTest, ListingsThatDoNotAddUpFailAndDropTheLink)
{
    const struct
    {
        const char* pszFault;
        const wchar_t* pszPattern;
    } cases[] = {
        { "overcount", L"\\*" },
        { "overcount", L"\\Temp\\*" },   // a count of one, no record
        { "cut", L"\\*" },
        { "cut", L"\\Temp\\*" },   // half a record
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszFault) + " listing");
        Disconnect();
        ASSERT_NO_FATAL_FAILURE(Connect(std::string("--hostile-listing=") + c.pszFault));
        ExpectFailedListing(c.pszPattern);
    }
}

TEST_F(StandInHostileTest, WithoutAValueTheFaultsComeInTurn)
{
    ASSERT_NO_FATAL_FAILURE(Connect("--hostile-listing"));
    EXPECT_EQ(ROOT_FOLDERS, ListFiles(L"\\*", TREE_FLAGS).Names()) << "unterminated";
    ExpectFailedListing(L"\\*");   // overcount
    ASSERT_NO_FATAL_FAILURE(Reconnect());
    ExpectFailedListing(L"\\*");   // cut
    ASSERT_NO_FATAL_FAILURE(Reconnect());
    EXPECT_EQ(ROOT_FOLDERS, ListFiles(L"\\*", TREE_FLAGS).Names()) << "unterminated again";
}
}   // namespace

// The destination model over a handheld that spoils its listings, and over
// a remote API library that hands on records as a hostile handheld sent
// them (our stand-in leaves out names without a terminator; the library a
// PC has installed may not): only sound folder names become nodes, and
// nothing reads past the records the library handed back.
#include "tests/shell/ModelFixture.h"

#include "device/RapiLink.h"
#include "tests/platform/rapi/GuardedBuffer.h"

#include <algorithm>

namespace {

using HostileHandheldTest = ModelTest;

// The flags the destination pane gives its root.
constexpr UINT PANE_FLAGS = 0xA0;

using Names = std::vector<std::string>;

CFolderNode* DeviceNode(CFolderNode* pRoot)
{
    for (UINT i = 0; i < pRoot->GetChildCount(); ++i) {
        if (pRoot->GetChild(i)->GetFlags() & FNF_DEVICEROOT)
            return pRoot->GetChild(i);
    }
    return nullptr;
}

TEST_F(HostileHandheldTest, NamesWithoutTerminatorLeaveOnlyTheSoundFolders)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld("--hostile-listing=unterminated"));
    auto pRoot = ListedRoot(PANE_FLAGS);
    CFolderNode* pDevice = DeviceNode(pRoot.get());
    ASSERT_NE(nullptr, pDevice);
    Listed(pDevice);
    EXPECT_EQ((Names{ "My Documents", "Program Files", "Storage Card", "Temp", "Windows" }), ChildNames(pDevice));
    CFolderNode* pDocuments = ChildNamed(pDevice, "My Documents");
    CFolderNode* pTemp = ChildNamed(pDevice, "Temp");
    ASSERT_NE(nullptr, pDocuments);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_TRUE(pDocuments->HasChildren());
    EXPECT_FALSE(pTemp->HasChildren()) << "its listing holds one unterminated record and nothing else";
    Listed(pDocuments);
    EXPECT_EQ((Names{ "Personal", "Templates" }), ChildNames(pDocuments));
}

TEST_F(HostileHandheldTest, ListingsThatDoNotAddUpLeaveTheFolderEmpty)
{
    for (const char* pszFault : { "overcount", "cut" }) {
        SCOPED_TRACE(pszFault);
        ASSERT_NO_FATAL_FAILURE(StartHandheld(std::string("--hostile-listing=") + pszFault));
        auto pRoot = ListedRoot(PANE_FLAGS);
        CFolderNode* pDevice = DeviceNode(pRoot.get());
        ASSERT_NE(nullptr, pDevice);
        Listed(pDevice);
        EXPECT_EQ(0u, pDevice->GetChildCount());
        EXPECT_FALSE(pDevice->HasChildren());
    }
}

// Another library's listing of the handheld's root: the records exactly as
// given, the last one ending where a page no one may read begins. No
// folder below the root has folders of its own.
class CRecordsAsSent
{
public:
    explicit CRecordsAsSent(const std::vector<CE_FIND_DATA>& records)
        : m_buffer(records.size() * sizeof(CE_FIND_DATA)), m_pfnFindAllFiles(g_rapiLink.m_pfnCeFindAllFiles),
          m_pfnFreeBuffer(g_rapiLink.m_pfnCeRapiFreeBuffer)
    {
        s_pRecords =
            reinterpret_cast<LPCE_FIND_DATA>(m_buffer.Place(records.data(), records.size() * sizeof(CE_FIND_DATA)));
        s_nRecords = static_cast<DWORD>(records.size());
        m_buffer.Describe("the handheld's root as another library lists it");
        g_rapiLink.m_pfnCeFindAllFiles = FindAllFiles;
        g_rapiLink.m_pfnCeRapiFreeBuffer = FreeBuffer;
    }
    ~CRecordsAsSent()
    {
        g_rapiLink.m_pfnCeFindAllFiles = m_pfnFindAllFiles;
        g_rapiLink.m_pfnCeRapiFreeBuffer = m_pfnFreeBuffer;
    }
    CRecordsAsSent(const CRecordsAsSent&) = delete;
    CRecordsAsSent& operator=(const CRecordsAsSent&) = delete;

private:
    static BOOL WINAPI FindAllFiles(LPCWSTR pszPath, DWORD, LPDWORD pdwFoundCount, LPLPCE_FIND_DATA ppFindDataArray)
    {
        if (wcscmp(pszPath, L"\\*") != 0)
            return FALSE;
        *pdwFoundCount = s_nRecords;
        *ppFindDataArray = s_pRecords;
        return TRUE;
    }
    // The records stay the test's.
    static HRESULT WINAPI FreeBuffer(LPVOID) { return S_OK; }

    static inline LPCE_FIND_DATA s_pRecords = nullptr;
    static inline DWORD s_nRecords = 0;
    CGuardedBuffer m_buffer;
    decltype(g_rapiLink.m_pfnCeFindAllFiles) m_pfnFindAllFiles;
    decltype(g_rapiLink.m_pfnCeRapiFreeBuffer) m_pfnFreeBuffer;
};

// A folder record; a name of 260 units or more fills the field and has no
// terminator.
CE_FIND_DATA Folder(const std::wstring& strName)
{
    CE_FIND_DATA record = {};
    record.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    std::copy_n(strName.begin(), std::min<size_t>(strName.size(), MAX_PATH), record.cFileName);
    return record;
}

TEST_F(HostileHandheldTest, RecordsThatNameNoFolderAreSkipped)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld());
    // The name of y runs on into the next record, that of z past the buffer.
    CRecordsAsSent library({
        Folder(L"Storage"),
        Folder(std::wstring(MAX_PATH, L'y')),
        Folder(L""),
        Folder(L"."),
        Folder(L".."),
        Folder(L"a\\b"),
        Folder(L"c/d"),
        Folder(L"Temp"),
        Folder(std::wstring(MAX_PATH, L'z')),
    });
    auto pRoot = ListedRoot(PANE_FLAGS);
    CFolderNode* pDevice = DeviceNode(pRoot.get());
    ASSERT_NE(nullptr, pDevice);
    Listed(pDevice);
    EXPECT_EQ((Names{ "Storage", "Temp" }), ChildNames(pDevice));
    CFolderNode* pTemp = ChildNamed(pDevice, "Temp");
    ASSERT_NE(nullptr, pTemp);
    EXPECT_STREQ(L"\\Temp", pTemp->GetDevicePath());
}

}   // namespace

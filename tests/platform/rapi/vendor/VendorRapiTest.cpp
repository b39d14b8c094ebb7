// The stand-in where the system has its own remote API library: every call
// goes to that library with its arguments as they are, and its answers come
// back as they are. The system folder is the test's own, holding a library
// that writes down what it gets; our stand-in is the tests' build of it,
// the only one that takes that folder from the environment.
#include "tests/platform/rapi/StandInSession.h"
#include "tests/platform/rapi/vendor/RecordingRapi.h"

#include "platform/rapi/StandInMark.h"

#include <gtest/gtest.h>

namespace {
std::string WindowsPath(std::string strPath)
{
    for (char& ch : strPath)
        if (ch == '/')
            ch = '\\';
    return strPath;
}

const std::string VENDOR_FOLDER = WindowsPath(TARNIX_VENDOR_FOLDER);
const std::string VENDOR_LIBRARY = VENDOR_FOLDER + "\\rapi.dll";

class VendorRapiTest : public testing::Test
{
protected:
    // Before the stand-in's first call, which is when it looks.
    static void SetUpTestSuite() { SetEnvironmentVariableA("TARNIX_RAPI_SYSTEM_FOLDER", VENDOR_FOLDER.c_str()); }

    void SetUp() override { ASSERT_NE(nullptr, StandInLibrary()) << "the tests' stand-in cannot be loaded"; }

    // The calls the recording library got since the last look; it is
    // loaded by the stand-in's first call.
    std::string NewCalls()
    {
        const HMODULE hVendor = GetModuleHandleA(VENDOR_LIBRARY.c_str());
        if (!hVendor)
            return "the system's library is not loaded";
        const std::string strAll =
            reinterpret_cast<RecordedCallsProc>(reinterpret_cast<void*>(GetProcAddress(hVendor, "RecordedCalls")))();
        std::string strNew = strAll.substr(m_cchSeen);
        m_cchSeen = strAll.size();
        return strNew;
    }

    size_t m_cchSeen = 0;
};

TEST_F(VendorRapiTest, EveryCallAndItsAnswerPassUnchanged)
{
    RAPIINIT init = { sizeof(RAPIINIT), nullptr, S_OK };
    EXPECT_EQ(RECORDED_INIT_RESULT, CeRapiInitEx(&init));
    EXPECT_EQ("CeRapiInitEx" + Hex(&init) + "\n", NewCalls());
    EXPECT_EQ(RECORDED_HANDHELD_RESULT, init.hrRapiInit);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(init.heRapiInit, 0));

    const wchar_t szPattern[] = L"\\My Documents\\*";
    DWORD nCount = 0;
    CE_FIND_DATA* pRecords = nullptr;
    EXPECT_EQ(RECORDED_LISTING_RESULT, CeFindAllFiles(szPattern, FAF_NAME | FAF_SIZE_LOW, &nCount, &pRecords));
    EXPECT_EQ(RECORDED_LISTING_COUNT, nCount);
    EXPECT_EQ("CeFindAllFiles" + PathArgument(szPattern) + Hex(FAF_NAME | FAF_SIZE_LOW) + Hex(&nCount) + Hex(&pRecords)
                  + "\n",
              NewCalls());
    EXPECT_EQ(RECORDED_FREE_RESULT, CeRapiFreeBuffer(pRecords));
    EXPECT_EQ("CeRapiFreeBuffer" + Hex(pRecords) + "\n", NewCalls());

    const wchar_t szFile[] = L"\\Temp\\a.kda";
    SECURITY_ATTRIBUTES security = { sizeof(security), nullptr, FALSE };
    const HANDLE hTemplate = reinterpret_cast<HANDLE>(0x77);
    const HANDLE hFile = CeCreateFile(szFile, GENERIC_WRITE, FILE_SHARE_READ, &security, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_ARCHIVE, hTemplate);
    EXPECT_EQ(reinterpret_cast<HANDLE>(RECORDED_FILE_HANDLE), hFile);
    EXPECT_EQ("CeCreateFile" + PathArgument(szFile) + Hex(GENERIC_WRITE) + Hex(FILE_SHARE_READ) + Hex(&security)
                  + Hex(CREATE_ALWAYS) + Hex(FILE_ATTRIBUTE_ARCHIVE) + Hex(hTemplate) + "\n",
              NewCalls());

    const char data[] = "seven bytes";
    OVERLAPPED overlapped = {};
    DWORD cbWritten = 0;
    EXPECT_EQ(RECORDED_WRITE_RESULT, CeWriteFile(hFile, data, 7, &cbWritten, &overlapped));
    EXPECT_EQ(6u, cbWritten);
    EXPECT_EQ("CeWriteFile" + Hex(hFile) + Hex(data) + Hex(7) + Hex(&cbWritten) + Hex(&overlapped) + "\n", NewCalls());
    EXPECT_EQ(RECORDED_CLOSE_RESULT, CeCloseHandle(hFile));
    EXPECT_EQ("CeCloseHandle" + Hex(hFile) + "\n", NewCalls());
    EXPECT_EQ(FALSE, CeDeleteFile(szFile));
    EXPECT_EQ("CeDeleteFile" + PathArgument(szFile) + "\n", NewCalls());

    EXPECT_EQ(RECORDED_LAST_ERROR, CeGetLastError());
    EXPECT_EQ(RECORDED_LINK_ERROR, CeRapiGetError());
    EXPECT_EQ("CeGetLastError\nCeRapiGetError\n", NewCalls());
    EXPECT_EQ(RECORDED_UNINIT_RESULT, CeRapiUninit());
    EXPECT_EQ("CeRapiUninit\n", NewCalls());
}

TEST(StandInMarkTest, OnlyOurOwnLibraryCarriesTheMark)
{
    const std::string strOurs = WindowsPath(TARNIX_STAND_IN_PATH);
    EXPECT_TRUE(IsOurStandIn(strOurs.c_str())) << strOurs;
    EXPECT_FALSE(IsOurStandIn(VENDOR_LIBRARY.c_str())) << "a library with no version record";
    char szSystem[MAX_PATH];
    GetSystemDirectoryA(szSystem, MAX_PATH - 20);
    EXPECT_FALSE(IsOurStandIn((std::string(szSystem) + "\\kernel32.dll").c_str())) << "another maker's record";
    EXPECT_FALSE(IsOurStandIn((VENDOR_FOLDER + "\\missing.dll").c_str()));
    EXPECT_FALSE(IsOurStandIn(VENDOR_FOLDER.c_str())) << "a folder";
}
}   // namespace

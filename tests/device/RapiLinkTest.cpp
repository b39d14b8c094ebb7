// The device link as its callers meet it: Connect against the emulated
// handheld, with the messages the user reads when it does not come up, in
// the language set of the test's locale.
#include "tests/platform/rapi/EmulatorProcess.h"

#include "device/RapiLink.h"
#include "tests/device/TestCopy.h"
#include "platform/framework/afxwin.h"
#include "tests/support/AnsiText.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <memory>

namespace {
constexpr DWORD STARTED_MS = 20000;

struct LocalText
{
    const char* pszTraditional;
    const char* pszSimplified;
};

constexpr LocalText NOT_ANSWERING_TEXT = { "無法連接上行動裝置", "无法连接上行动装置" };
constexpr LocalText INIT_FAILED_TEXT = { "無法啟動ActiveSync連線功能", "无法激活ActiveSync联机功能" };
constexpr LocalText LINK_FAILED_TEXT = { "ActiveSync連線功能失敗", "ActiveSync联机功能失败" };
constexpr LocalText WAIT_FAILED_TEXT = { "Could not wait on event", "Could not wait on event" };

std::string Expected(const LocalText& text)
{
    return InUsersSet(text.pszTraditional, text.pszSimplified);
}

DWORD ElapsedSince(DWORD dwStart)
{
    return GetTickCount() - dwStart;
}

class RapiLinkTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(nullptr, g_rapiLink.m_hRapiLib) << "rapi.dll is not in the system directory"; }

    // What the user saw of one Connect, and how long it took.
    struct Outcome
    {
        BOOL bConnected;
        std::vector<MessageBoxRecord> boxes;
        DWORD dwElapsed;
    };

    Outcome Connect(BOOL bShowErrors)
    {
        CMessageBoxRecorder recorder;
        DWORD dwStart = GetTickCount();
        BOOL bConnected = g_rapiLink.Connect(bShowErrors);
        return Outcome{ bConnected, recorder.Boxes(), ElapsedSince(dwStart) };
    }

    // A failed Connect leaves no session open: a new one can begin.
    void ExpectNoSessionLeft()
    {
        CSilentPort port;
        UseEndpoint(port.Endpoint());
        RAPIINIT init = { sizeof(RAPIINIT), nullptr, S_OK };
        EXPECT_EQ(S_OK, g_rapiLink.m_pfnCeRapiInitEx(&init));
        g_rapiLink.CeRapiUninit();
    }

    CWinApp m_app;
    CTempFolder m_root;
};

void ExpectOneBox(const std::vector<MessageBoxRecord>& boxes, const std::string& strText)
{
    ASSERT_EQ(size_t(1), boxes.size());
    EXPECT_EQ(strText, boxes[0].strText);
    EXPECT_EQ("Tarnix", boxes[0].strCaption);
    EXPECT_EQ(UINT(MB_OK), boxes[0].uType);
    EXPECT_EQ(UINT(MB_ICONEXCLAMATION), boxes[0].uIcon);
}

TEST_F(RapiLinkTest, FailuresAreToldOnlyWhenAskedFor)
{
    CEmulatorProcess refusing(m_root.Path(), "--refuse");
    ASSERT_NE(0, refusing.Port());
    CSilentPort silent;
    const struct
    {
        const char* pszCase;
        std::string strEndpoint;
        BOOL bShowErrors;
        const LocalText* pText;
        DWORD dwMinMs;
        DWORD dwMaxMs;
    } cases[] = {
        { "probe, nothing listening", silent.Endpoint(), FALSE, nullptr, 1500, 6000 },
        { "nothing listening", silent.Endpoint(), TRUE, &NOT_ANSWERING_TEXT, 1500, 6000 },
        { "probe, handheld refuses", refusing.Endpoint(), FALSE, nullptr, 0, 2500 },
        { "handheld refuses", refusing.Endpoint(), TRUE, &LINK_FAILED_TEXT, 0, 2500 },
        { "probe, init fails", "no endpoint at all", FALSE, nullptr, 0, 1000 },
        { "init fails", "no endpoint at all", TRUE, &INIT_FAILED_TEXT, 0, 1000 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        UseEndpoint(c.strEndpoint);
        Outcome outcome = Connect(c.bShowErrors);
        EXPECT_FALSE(outcome.bConnected);
        if (c.pText)
            ExpectOneBox(outcome.boxes, Expected(*c.pText));
        else
            EXPECT_TRUE(outcome.boxes.empty());
        EXPECT_GE(outcome.dwElapsed, c.dwMinMs);
        EXPECT_LE(outcome.dwElapsed, c.dwMaxMs);
        EXPECT_EQ(0, m_app.m_nWaitCursorCount);
        ExpectNoSessionLeft();
    }
}

// A library whose event cannot be waited on.
decltype(&::CeRapiInitEx) s_pfnRealInit;

HRESULT WINAPI InitWithoutEvent(RAPIINIT* pInit)
{
    HRESULT hr = s_pfnRealInit(pInit);
    pInit->heRapiInit = nullptr;
    return hr;
}

TEST_F(RapiLinkTest, FailedWaitIsToldInItsOwnWords)
{
    CSilentPort silent;
    UseEndpoint(silent.Endpoint());
    s_pfnRealInit = g_rapiLink.m_pfnCeRapiInitEx;
    g_rapiLink.m_pfnCeRapiInitEx = InitWithoutEvent;
    Outcome outcome = Connect(TRUE);
    g_rapiLink.m_pfnCeRapiInitEx = s_pfnRealInit;
    EXPECT_FALSE(outcome.bConnected);
    ExpectOneBox(outcome.boxes, Expected(WAIT_FAILED_TEXT));
    ExpectNoSessionLeft();
}

TEST_F(RapiLinkTest, AnsweringHandheldGivesASessionToTheCaller)
{
    CEmulatorProcess emulator(m_root.Path());
    ASSERT_NE(0, emulator.Port());
    UseEndpoint(emulator.Endpoint());
    Outcome outcome = Connect(TRUE);
    ASSERT_TRUE(outcome.bConnected);
    EXPECT_TRUE(outcome.boxes.empty());

    DWORD nCount = 0;
    CE_FIND_DATA* pRecords = nullptr;
    EXPECT_TRUE(g_rapiLink.CeFindAllFiles(L"\\*", 0xC081, &nCount, &pRecords));
    EXPECT_EQ(DWORD(5), nCount);
    g_rapiLink.CeRapiFreeBuffer(pRecords);
    EXPECT_EQ(S_OK, g_rapiLink.CeRapiUninit());
}

// A probe that found nothing must not stand in the way of the next one.
TEST_F(RapiLinkTest, HandheldPluggedInAfterAFailedProbeIsFound)
{
    const WORD nPort = PortOfAnEmulatorGone(m_root.Path());
    ASSERT_NE(0, nPort);
    UseEndpoint("127.0.0.1:" + std::to_string(nPort));
    EXPECT_FALSE(Connect(FALSE).bConnected);

    CEmulatorProcess emulator(m_root.Path(), "--port " + std::to_string(nPort));
    ASSERT_EQ(nPort, emulator.Port());
    Outcome outcome = Connect(TRUE);
    EXPECT_TRUE(outcome.bConnected);
    EXPECT_TRUE(outcome.boxes.empty());
    g_rapiLink.CeRapiUninit();
}

// Runs in a child process whose loader refuses it rapi.dll; the parent
// test below starts it.
TEST(RapiLinkWithoutLibrary, NothingIsOfferedAndNothingCrashes)
{
    if (!GetEnvironmentVariableA("TARNIX_EXPECT_NO_RAPI", nullptr, 0))
        GTEST_SKIP() << "runs in a process of its own";
    EXPECT_EQ(nullptr, g_rapiLink.m_hRapiLib);
    EXPECT_EQ(nullptr, g_rapiLink.m_pfnCeRapiInitEx);
    EXPECT_EQ(nullptr, g_rapiLink.m_pfnCeFindAllFiles);

    CWinApp app;
    CMessageBoxRecorder recorder;
    EXPECT_FALSE(g_rapiLink.Connect(FALSE));
    EXPECT_TRUE(recorder.Boxes().empty());
    EXPECT_FALSE(g_rapiLink.Connect(TRUE));
    ExpectOneBox(recorder.Boxes(), Expected(INIT_FAILED_TEXT));

    EXPECT_EQ(INVALID_HANDLE_VALUE, g_rapiLink.CeCreateFile(L"\\Temp\\x.kda", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD cbWritten = 7;
    EXPECT_FALSE(g_rapiLink.CeWriteFile(INVALID_HANDLE_VALUE, "x", 1, &cbWritten, nullptr));
    EXPECT_EQ(DWORD(0), cbWritten);
    DWORD nCount = 7;
    CE_FIND_DATA* pRecords = reinterpret_cast<CE_FIND_DATA*>(1);
    EXPECT_FALSE(g_rapiLink.CeFindAllFiles(L"\\*", 0xC081, &nCount, &pRecords));
    EXPECT_EQ(DWORD(0), nCount);
    EXPECT_EQ(nullptr, pRecords);
    EXPECT_FALSE(g_rapiLink.CeCloseHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(g_rapiLink.CeDeleteFile(L"\\Temp\\x.kda"));
    EXPECT_EQ(S_OK, g_rapiLink.CeRapiGetError()) << "no link to blame";
    EXPECT_TRUE(FAILED(g_rapiLink.CeRapiUninit()));
}

// Wine's loader reads its overrides per program name from the registry: a
// copy of this test under a name of its own is refused rapi.dll, while the
// tests running beside it keep theirs.
class CLibraryRefusedTo
{
public:
    explicit CLibraryRefusedTo(const std::string& strExeName) : m_strKey("Software\\Wine\\AppDefaults\\" + strExeName)
    {
        HKEY hKey;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, (m_strKey + "\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &hKey, nullptr)
            == ERROR_SUCCESS) {
            RegSetValueExA(hKey, "rapi", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
            RegCloseKey(hKey);
        }
    }
    ~CLibraryRefusedTo()
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, (m_strKey + "\\DllOverrides").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, m_strKey.c_str());
    }

private:
    std::string m_strKey;
};

// The child shows no box at start-up: one would stop it, unanswered, and
// the bounded wait here would fail.
TEST(RapiLinkWithoutLibraryParent, StartsWithoutAWordAndFailsGracefully)
{
    if (GetEnvironmentVariableA("TARNIX_EXPECT_NO_RAPI", nullptr, 0))
        GTEST_SKIP() << "this is the child";
    CTempFolder folder;
    const std::string strName = "device_link_without_rapi_" + std::to_string(GetCurrentProcessId()) + ".exe";
    CLibraryRefusedTo refused(strName);
    EXPECT_EQ(DWORD(0), RunTestCopy(folder.PathOf(strName), "RapiLinkWithoutLibrary.*", "TARNIX_EXPECT_NO_RAPI"));
}
}   // namespace

// Sessions of the stand-in library: initialisation that answers at once and
// connects in the background, where it looks for the handheld, refusals,
// and nothing left behind after CeRapiUninit.
#include "tests/platform/rapi/StandInFixture.h"
#include "tests/support/ProcessUsage.h"

namespace {
constexpr DWORD PROMPTLY_MS = 1500;

using StandInSessionTest = StandInTest;

TEST_F(StandInSessionTest, SecondInitIsRefusedUntilUninit)
{
    CSilentPort port;
    UseEndpoint(port.Endpoint());
    RAPIINIT first = { sizeof(RAPIINIT), nullptr, S_OK };
    ASSERT_EQ(S_OK, CeRapiInitEx(&first));
    RAPIINIT second = { sizeof(RAPIINIT), nullptr, S_OK };
    EXPECT_EQ(CERAPI_E_ALREADYINITIALIZED, CeRapiInitEx(&second));
    EXPECT_EQ(nullptr, second.heRapiInit);
    EXPECT_EQ(S_OK, CeRapiUninit());
    EXPECT_EQ(E_FAIL, CeRapiUninit());
    ASSERT_EQ(S_OK, CeRapiInitEx(&second));
    EXPECT_EQ(S_OK, CeRapiUninit());
}

TEST_F(StandInSessionTest, RecordOfAnotherSizeIsRefused)
{
    for (DWORD cbSize : { DWORD(0), DWORD(12 + 4 * sizeof(void*)) }) {
        RAPIINIT init = { cbSize, nullptr, S_OK };
        EXPECT_EQ(E_INVALIDARG, CeRapiInitEx(&init)) << cbSize;
    }
    EXPECT_EQ(E_INVALIDARG, CeRapiInitEx(nullptr));
    EXPECT_EQ(E_FAIL, CeRapiUninit()) << "a refused init leaves nothing to end";
}

TEST_F(StandInSessionTest, MalformedEndpointFailsAtOnce)
{
    const char* const endpoints[] = {
        "127.0.0.1",       "127.0.0.1:", "127.0.0.1:0",    "127.0.0.1:65536", "127.0.0.1:+80", "127.0.0.1: 80",
        "localhost:47291", "127.0.1:80", "127.0.0.0.1:80", "256.0.0.1:80",    "0x7f.0.0.1:80", ":80",
        "127.0.0.1:80 ",   "[::1]:80",
    };
    for (const char* pszEndpoint : endpoints) {
        UseEndpoint(pszEndpoint);
        CStandInSession session;
        EXPECT_EQ(E_INVALIDARG, session.InitResult()) << pszEndpoint;
    }
}

TEST_F(StandInSessionTest, WithNothingListeningTheEventStaysUnsignalledUntilUninit)
{
    CSilentPort port;
    UseEndpoint(port.Endpoint());
    DWORD dwStart = GetTickCount();
    RAPIINIT init = { sizeof(RAPIINIT), nullptr, S_OK };
    ASSERT_EQ(S_OK, CeRapiInitEx(&init));
    EXPECT_LT(ElapsedSince(dwStart), DWORD(PROMPTLY_MS));
    EXPECT_EQ(DWORD(WAIT_TIMEOUT), WaitForSingleObject(init.heRapiInit, 2000));
    EXPECT_FALSE(ListFiles(L"\\*", FAF_NAME).bOk);
    EXPECT_EQ(DWORD(ERROR_DEVICE_NOT_CONNECTED), CeGetLastError());
    dwStart = GetTickCount();
    EXPECT_EQ(S_OK, CeRapiUninit());
    EXPECT_LT(ElapsedSince(dwStart), DWORD(PROMPTLY_MS));
}

TEST_F(StandInSessionTest, HandheldThatComesLaterIsFound)
{
    const WORD nPort = PortOfAnEmulatorGone(m_root.Path());
    ASSERT_NE(0, nPort);
    UseEndpoint("127.0.0.1:" + std::to_string(nPort));
    CStandInSession session;
    ASSERT_EQ(S_OK, session.InitResult());
    EXPECT_FALSE(session.IsAnswered(1000));
    CEmulatorProcess emulator(m_root.Path(), "--port " + std::to_string(nPort));
    ASSERT_EQ(nPort, emulator.Port());
    EXPECT_TRUE(session.IsAnswered(ANSWER_TIMEOUT_MS));
    EXPECT_EQ(S_OK, session.HandheldResult());
    EXPECT_TRUE(ListFiles(L"\\*", FAF_NAME).bOk);
}

TEST_F(StandInSessionTest, HandheldAnswersWithItsRefusal)
{
    ASSERT_NO_FATAL_FAILURE(StartEmulator("--refuse=0x80070005"));
    CStandInSession session;
    ASSERT_EQ(S_OK, session.InitResult());
    ASSERT_TRUE(session.IsAnswered(ANSWER_TIMEOUT_MS));
    EXPECT_EQ(HRESULT(0x80070005), session.HandheldResult());
    EXPECT_FALSE(ListFiles(L"\\*", FAF_NAME).bOk);
}

TEST_F(StandInSessionTest, UnansweredHandshakeEndsWithUninit)
{
    ASSERT_NO_FATAL_FAILURE(StartEmulator("--no-handshake"));
    RAPIINIT init = { sizeof(RAPIINIT), nullptr, S_OK };
    ASSERT_EQ(S_OK, CeRapiInitEx(&init));
    EXPECT_EQ(DWORD(WAIT_TIMEOUT), WaitForSingleObject(init.heRapiInit, 3000));
    DWORD dwStart = GetTickCount();
    EXPECT_EQ(S_OK, CeRapiUninit());
    EXPECT_LT(ElapsedSince(dwStart), DWORD(PROMPTLY_MS));
}

TEST_F(StandInSessionTest, RegistryValueIsUsedWhenTheEnvironmentSaysNothing)
{
    ASSERT_NO_FATAL_FAILURE(StartEmulator());
    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tarnix\\RemoteApi", 0, nullptr, 0,
                                             KEY_SET_VALUE, nullptr, &hKey, nullptr));
    std::string strEndpoint = m_pEmulator->Endpoint();
    RegSetValueExA(hKey, "Endpoint", 0, REG_SZ, reinterpret_cast<const BYTE*>(strEndpoint.c_str()),
                   static_cast<DWORD>(strEndpoint.size() + 1));
    UseEndpoint("");
    {
        CStandInSession fromRegistry;
        EXPECT_TRUE(fromRegistry.IsAnswered(ANSWER_TIMEOUT_MS));
    }
    UseEndpoint("not an endpoint");
    {
        CStandInSession environmentWins;
        EXPECT_EQ(E_INVALIDARG, environmentWins.InitResult());
    }
    RegDeleteValueA(hKey, "Endpoint");
    RegCloseKey(hKey);
}

void RunSessions(const std::string& strConnected, const std::string& strSilent)
{
    for (int i = 0; i < 3; ++i) {
        UseEndpoint(strConnected);
        {
            CStandInSession session;
            ASSERT_TRUE(session.IsAnswered(ANSWER_TIMEOUT_MS));
            HANDLE hFile = CeCreateFile(L"\\Temp\\cycle.kda", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD cbWritten;
            CeWriteFile(hFile, "cycle", 5, &cbWritten, nullptr);
            CeCloseHandle(hFile);
            ListFiles(L"\\*", FAF_NAME);
        }
        UseEndpoint(strSilent);
        {
            CStandInSession session;
            session.IsAnswered(300);
        }
    }
}

TEST_F(StandInSessionTest, UninitLeavesNoHandleOrThreadBehind)
{
    ASSERT_NO_FATAL_FAILURE(StartEmulator());
    CSilentPort silent;
    ASSERT_NO_FATAL_FAILURE(RunSessions(m_pEmulator->Endpoint(), silent.Endpoint()));
    int nThreads = CountThreads();
    int nHandles = CountHandles();
    ASSERT_GT(nHandles, 0);
    ASSERT_NO_FATAL_FAILURE(RunSessions(m_pEmulator->Endpoint(), silent.Endpoint()));
    EXPECT_EQ(nThreads, CountThreads());
    EXPECT_EQ(nHandles, CountHandles());
}
}   // namespace

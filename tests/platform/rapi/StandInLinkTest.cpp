// The stand-in with no endpoint configured and no remote API library of the
// system's: it runs the PC's side of a USB handheld's link itself. The
// emulator plays the handheld on loopback addresses, and every port is one
// of the system's choosing, given to the stand-in through its settings.
#include "tests/platform/rapi/StandInSession.h"
#include "tests/platform/rapi/PasswordDialogDriver.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <memory>

namespace {
constexpr DWORD ANSWER_TIMEOUT_MS = 20000;
// The link waits 10 s for a handheld to be there and unlocked.
constexpr DWORD NOT_CONNECTED_BOUND_MS = 10000 + 5000;
constexpr DWORD PROMPTLY_MS = 3000;
const HRESULT NOT_CONNECTED = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);

std::string Pattern(size_t cb)
{
    std::string strBytes(cb, '\0');
    for (size_t i = 0; i < cb; ++i)
        strBytes[i] = static_cast<char>(i * 31 + (i >> 9));
    return strBytes;
}

class StandInLinkTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, StandInLibrary()) << "rapi.dll is not in the system directory";
        UseEndpoint("");
    }

    void TearDown() override
    {
        m_pEmulator.reset();
        ForgetOwnLink();
    }

    void StartHandheld(const std::string& strOptions = std::string())
    {
        const WORD nUsbPort = FreeLoopbackPort();
        ASSERT_NE(0, nUsbPort);
        m_pEmulator.reset(new CEmulatorProcess(m_root.Path(), "--mode usb --device-address 127.0.0.2 --trigger-port 0 "
                                                              "--control-port "
                                                                  + std::to_string(nUsbPort) + " " + strOptions));
        ASSERT_NE(0, m_pEmulator->Port()) << "the emulator did not start";
        UseOwnLink("127.0.0.2", m_pEmulator->Port(), nUsbPort);
    }

    CTempFolder m_root;
    std::unique_ptr<CEmulatorProcess> m_pEmulator;
};

// The link stays up from one session to the next: CeRapiUninit ends the
// session, and the next one goes through the same control connection.
TEST_F(StandInLinkTest, ListsAndWritesThroughItsOwnPcSide)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld());
    const std::string strBytes = Pattern(300000);
    for (int nSession = 0; nSession < 2; ++nSession) {
        CStandInSession session;
        ASSERT_EQ(S_OK, session.InitResult());
        ASSERT_TRUE(session.IsAnswered(ANSWER_TIMEOUT_MS)) << "session " << nSession;
        ASSERT_EQ(S_OK, session.HandheldResult());
        const Listing top = ListFiles(L"\\*", FAF_NAME | FAF_ATTRIBUTES);
        ASSERT_TRUE(top.bOk);
        const DWORD dwAttributes = top.AttributesOf(L"My Documents");
        EXPECT_TRUE(dwAttributes != ~0u && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) << "the handheld's folders";
        const std::wstring strName = L"\\My Documents\\big" + std::to_wstring(nSession) + L".kda";
        ASSERT_TRUE(WriteHandheldFile(strName, strBytes));
        EXPECT_EQ(strBytes, ReadHostFile(m_root.PathOf("My Documents\\big" + std::to_string(nSession) + ".kda")))
            << "byte for byte on the handheld";
        EXPECT_EQ(S_OK, CeRapiGetError());
    }
}

// The stand-in asks for a locked handheld's password in its own dialog: a
// wrong answer is asked for again, and the right one unlocks the handheld
// for the session waiting for it.
TEST_F(StandInLinkTest, APasswordTypedIntoItsDialogUnlocksTheHandheld)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld("--password secret"));
    CStandInSession session;
    ASSERT_EQ(S_OK, session.InitResult());
    const HWND hQuestion = WaitForPasswordDialog(GetCurrentProcessId(), true, ANSWER_TIMEOUT_MS);
    ASSERT_NE(nullptr, hQuestion) << "the stand-in asks for the password";
    const std::wstring strAsk = PromptOf(hQuestion);
    TypePassword(hQuestion, L"wrong");
    PressButton(hQuestion, IDOK);
    ASSERT_TRUE(WaitUntilClosed(hQuestion));
    const HWND hRetry = WaitForPasswordDialog(GetCurrentProcessId(), true, ANSWER_TIMEOUT_MS);
    ASSERT_NE(nullptr, hRetry) << "a wrong password is asked for again";
    EXPECT_NE(strAsk, PromptOf(hRetry));
    TypePassword(hRetry, L"secret");
    PressButton(hRetry, IDOK);
    ASSERT_TRUE(session.IsAnswered(ANSWER_TIMEOUT_MS));
    EXPECT_EQ(S_OK, session.HandheldResult());
    EXPECT_TRUE(ListFiles(L"\\*", FAF_NAME).bOk);
}

// A user who gives up on the password leaves the handheld locked: the
// session is told the device is not connected within the link's bound, and
// every call fails so; ending a session that still waits for the handheld
// takes no longer than a moment.
TEST_F(StandInLinkTest, LockedHandheldIsNotConnected)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld("--password secret"));
    {
        CStandInSession waiting;
        ASSERT_EQ(S_OK, waiting.InitResult());
        EXPECT_FALSE(waiting.IsAnswered(1000));
        const DWORD dwStart = GetTickCount();
        EXPECT_EQ(S_OK, CeRapiUninit());
        EXPECT_LT(ElapsedSince(dwStart), DWORD(PROMPTLY_MS));
    }
    const HWND hQuestion = WaitForPasswordDialog(GetCurrentProcessId(), true, ANSWER_TIMEOUT_MS);
    ASSERT_NE(nullptr, hQuestion) << "the stand-in asks for the password";
    PressButton(hQuestion, IDCANCEL);
    ASSERT_TRUE(WaitUntilClosed(hQuestion));
    CStandInSession session;
    ASSERT_EQ(S_OK, session.InitResult());
    const HWND hAgain = WaitForPasswordDialog(GetCurrentProcessId(), true, ANSWER_TIMEOUT_MS);
    ASSERT_NE(nullptr, hAgain) << "the next session asks again";
    PressButton(hAgain, IDCANCEL);
    ASSERT_TRUE(WaitUntilClosed(hAgain));
    ASSERT_TRUE(session.IsAnswered(NOT_CONNECTED_BOUND_MS));
    EXPECT_EQ(NOT_CONNECTED, session.HandheldResult());
    const DWORD dwStart = GetTickCount();
    EXPECT_FALSE(ListFiles(L"\\*", FAF_NAME).bOk);
    EXPECT_EQ(DWORD(ERROR_DEVICE_NOT_CONNECTED), CeGetLastError());
    EXPECT_EQ(NOT_CONNECTED, CeRapiGetError());
    EXPECT_EQ(INVALID_HANDLE_VALUE,
              CeCreateFile(L"\\Temp\\a.kda", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_LT(ElapsedSince(dwStart), DWORD(PROMPTLY_MS));
}

// Settings that name half a link or a port out of range start nothing: the
// session fails at once as not connected.
TEST_F(StandInLinkTest, MalformedSettingsFailAtOnce)
{
    // In the order of OWN_LINK_VARIABLES; null leaves one out.
    const char* const cases[][4] = {
        { nullptr, "127.0.0.2", "5679", "990" },     { "127.0.0.1", nullptr, "5679", "990" },
        { "localhost", "127.0.0.2", "5679", "990" }, { "127.0.0.1", "127.0.0.2", "65536", "990" },
        { "127.0.0.1", "127.0.0.2", "5679", "0" },
    };
    for (const auto& values : cases) {
        for (size_t i = 0; i < 4; ++i)
            SetEnvironmentVariableA(OWN_LINK_VARIABLES[i], values[i]);
        const DWORD dwStart = GetTickCount();
        CStandInSession session;
        EXPECT_EQ(NOT_CONNECTED, session.InitResult()) << (values[0] ? values[0] : "-") << " " << values[3];
        EXPECT_LT(ElapsedSince(dwStart), DWORD(PROMPTLY_MS));
    }
}
}   // namespace

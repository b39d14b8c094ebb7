// The program as a user with a real handheld meets it: tarnix.exe under
// Wine, its stand-in library pointed at tarnix-link, and tarnix-link
// speaking the handheld's own protocol to the emulator in each handheld
// mode; or, without tarnix-link, the stand-in's own PC side in the
// program's process. Every port is of the system's choosing, the handheld
// at 127.0.0.2.
#include "tests/platform/rapi/EmulatorProcess.h"

#include "platform/link/PromptTexts.h"
#include "platform/framework/FrameworkIds.h"
#include "res/resource.h"
#include "tests/app/LinkProcess.h"
#include "tests/app/ProgramProcess.h"
#include "tests/platform/rapi/PasswordDialogDriver.h"
#include "tests/support/AnsiText.h"
#include "tests/support/ContentFile.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempFolder.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>

namespace {
const std::string DEVICE_ADDRESS = "127.0.0.2";
// How long the link may take to find the handheld and open a session
// (its session wait) and a call may take (its bound), with room for a
// loaded machine.
constexpr DWORD HANDHELD_FOUND_MS = 20000;
constexpr DWORD CALL_BOUND_MS = 4000;
constexpr DWORD LINK_GONE_MS = 6000;
constexpr DWORD INSTALL_MS = 30000;

struct Handheld
{
    const char* pszId;                // the test's name for it
    const char* pszEmulatorOptions;   // the mode and the OS version
    bool bUsb;
};

class ProgramLinkTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_handheld.MakeFolder("My Documents");
        m_handheld.MakeFolder("Storage");
        for (int i = 0; i < 3; ++i)
            m_content.MakeFile("dict" + std::to_string(i) + ".kda",
                               ContentFileBytes(MakeContentHeader("Title " + std::to_string(i)), 1000 + 70000 * i));
    }
    void TearDown() override
    {
        UseEndpoint(std::string());
        ForgetOwnLink();
    }

    // The emulator as the given handheld with strOptions, and tarnix-link
    // for it. The PC's control port is held for the link, so the emulator
    // can be told it before the link, which needs the emulator's port, runs.
    void StartHandheld(const Handheld& handheld, const std::string& strOptions = std::string())
    {
        const std::string strPcPort = std::to_string(m_pcPort.Port());
        const std::string strCommon = "--device-address " + DEVICE_ADDRESS + " --control-port " + strPcPort + " "
                                      + handheld.pszEmulatorOptions + " " + strOptions;
        m_pEmulator = std::make_unique<CEmulatorProcess>(
            m_handheld.Path(), strCommon + (handheld.bUsb ? " --trigger-port 0" : " --session-port 0"));
        ASSERT_NE(0, m_pEmulator->Port()) << "the emulator did not start";
        const std::string strHandheldPort = std::to_string(m_pEmulator->Port());
        std::string strLink = "--device-address " + DEVICE_ADDRESS + " --pc-address 127.0.0.1 --serve 127.0.0.1:0 ";
        if (handheld.bUsb)
            strLink += "--mode usb --usb-port " + strPcPort + " --trigger-port " + strHandheldPort;
        else
            strLink += "--mode legacy --legacy-control-port " + strPcPort + " --legacy-session-port " + strHandheldPort;
        m_pLink = std::make_unique<CLinkProcess>(strLink);
        ASSERT_FALSE(m_pLink->Endpoint().empty()) << "tarnix-link did not serve";
        UseEndpoint(m_pLink->Endpoint());
    }

    // The emulator as a USB handheld for the stand-in's own PC side, started
    // after the program: its trigger port and the PC's port are fixed
    // beforehand.
    void StartHandheldForOwnLink(WORD nTriggerPort, WORD nPcPort, const std::string& strOptions)
    {
        m_pEmulator = std::make_unique<CEmulatorProcess>(
            m_handheld.Path(), "--mode usb --device-address " + DEVICE_ADDRESS + " --trigger-port "
                                   + std::to_string(nTriggerPort) + " --control-port " + std::to_string(nPcPort) + " "
                                   + strOptions);
        ASSERT_NE(0, m_pEmulator->Port()) << "the emulator did not start";
    }

    void StartProgram()
    {
        m_pProgram = std::make_unique<CProgramProcess>(m_content.Path());
        ASSERT_NE(nullptr, m_pProgram->MainWindow());
    }

    HWND Tree() const { return m_pProgram->Child(m_pProgram->DestinationPane(), IDC_DEST_TREE); }

    // The handheld's node: last in the tree, after the drives.
    HTREEITEM HandheldNode() const
    {
        HTREEITEM hItem = TreeView_GetChild(Tree(), TreeView_GetRoot(Tree()));
        while (HTREEITEM hNext = TreeView_GetNextSibling(Tree(), hItem))
            hItem = hNext;
        return hItem;
    }

    // The handheld's folder named strName, once its node is opened; null
    // when the tree does not show it.
    HTREEITEM HandheldFolder(const std::string& strName) const
    {
        TreeView_Expand(Tree(), HandheldNode(), TVE_EXPAND);
        for (HTREEITEM hItem = TreeView_GetChild(Tree(), HandheldNode()); hItem != nullptr;
             hItem = TreeView_GetNextSibling(Tree(), hItem)) {
            if (m_pProgram->TreeItemText(Tree(), hItem) == strName)
                return hItem;
        }
        return nullptr;
    }

    // With the tree built anew (F5), the handheld shows its folders.
    bool ShowsHandheldFolders(DWORD dwTimeout = HANDHELD_FOUND_MS) const
    {
        return WaitFor(
            [&] {
                if (HandheldFolder("Storage") != nullptr && HandheldFolder("My Documents") != nullptr)
                    return true;
                m_pProgram->Keys(VK_F5);
                return false;
            },
            dwTimeout);
    }

    // Everything ticked, the handheld's \Storage chosen, and Install clicked.
    void InstallOntoStorage() const
    {
        HTREEITEM hStorage = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (hStorage = HandheldFolder("Storage")) != nullptr; }, HANDHELD_FOUND_MS))
            << "the tree shows no \\Storage on the handheld";
        TreeView_SelectItem(Tree(), hStorage);
        m_pProgram->WaitUntilIdle();
        m_pProgram->Keys('A', true);
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(m_pProgram->InstallButton()) != FALSE; }));
        ::PostMessageA(m_pProgram->InstallButton(), BM_CLICK, 0, 0);
    }

    bool ArrivedByteForByte() const
    {
        for (const auto& file : FolderContents(m_content.Path())) {
            const std::string strName = file.first.substr(m_content.Path().size() + 1);
            if (ContentsOf(m_handheld.PathOf("Storage\\" + strName)) != file.second)
                return false;
        }
        return true;
    }

    // The handheld's folders shown, every content file installed onto
    // \Storage byte for byte without a message, and the program ended.
    void InstallOntoTheHandheldAndExit() const
    {
        EXPECT_TRUE(ShowsHandheldFolders()) << "the handheld's folders in the tree";
        ASSERT_NO_FATAL_FAILURE(InstallOntoStorage());
        EXPECT_TRUE(WaitFor([&] { return ArrivedByteForByte(); }, INSTALL_MS)) << "byte-exact copies on the handheld";
        ASSERT_TRUE(RunEnded());
        EXPECT_EQ(nullptr, m_pProgram->FindMessageBox()) << "no message on the way";
        Exit();
    }

    bool RunEnded() const
    {
        return WaitFor([&] { return ::IsWindowEnabled(m_pProgram->MainWindow()) != FALSE; }, INSTALL_MS);
    }

    void Exit() const
    {
        m_pProgram->Command(ID_APP_EXIT);
        EXPECT_EQ(0u, m_pProgram->WaitForExit(10000));
    }

    CTempFolder m_content{ "T:\\" };
    CTempFolder m_handheld;
    CSilentPort m_pcPort{ true };
    std::unique_ptr<CEmulatorProcess> m_pEmulator;
    std::unique_ptr<CLinkProcess> m_pLink;
    std::unique_ptr<CProgramProcess> m_pProgram;
};

const Handheld USB_52 = { "Usb52", "--mode usb --os 5.2", true };
const Handheld USB_51 = { "Usb51", "--mode usb --os 5.1", true };
const Handheld LEGACY_420 = { "Legacy420", "--mode legacy --os 4.20", false };

std::string LoadedString(UINT nId)
{
    char szText[512] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), nId, szText, sizeof(szText));
    return szText;
}

class ProgramLinkModesTest : public ProgramLinkTest, public testing::WithParamInterface<Handheld>
{};

TEST_P(ProgramLinkModesTest, TheTreeShowsTheHandheldAndAnInstallationArrivesByteForByte)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld(GetParam()));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_NO_FATAL_FAILURE(InstallOntoTheHandheldAndExit());
}

INSTANTIATE_TEST_SUITE_P(EachHandheldKind, ProgramLinkModesTest, testing::Values(USB_52, USB_51, LEGACY_420),
                         [](const testing::TestParamInfo<Handheld>& info) { return std::string(info.param.pszId); });

const PromptTexts& Texts()
{
    return PromptTextsFor("zh_TW.UTF-8", nullptr);
}

TEST_F(ProgramLinkTest, ALockedHandheldIsUnlockedThroughTheLinksPrompt)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld(USB_52, "--password secret"));
    ASSERT_TRUE(m_pLink->WaitForNotices(1, HANDHELD_FOUND_MS)) << "the link asks";
    EXPECT_EQ(Texts().pszAsk, m_pLink->Notices()[0]);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    m_pProgram->WaitUntilIdle();
    EXPECT_EQ(nullptr, HandheldFolder("Storage")) << "no folders while the handheld is locked";
    m_pLink->Answer("wrong");
    ASSERT_TRUE(m_pLink->WaitForNotices(2, HANDHELD_FOUND_MS)) << "a wrong answer is asked again";
    EXPECT_EQ(Texts().pszRetry, m_pLink->Notices()[1]);
    m_pLink->Answer("secret");
    EXPECT_TRUE(ShowsHandheldFolders()) << "unlocked, in the program already running";
    EXPECT_EQ(2u, m_pLink->Notices().size()) << "the right answer is taken";
    Exit();
}

// The unlock comes well after the program has looked for the handheld once.
TEST_F(ProgramLinkTest, AnUnlockOnTheHandheldsScreenIsWaitedFor)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld(USB_52, "--unlock-on-device 15"));
    ASSERT_TRUE(m_pLink->WaitForNotices(1, HANDHELD_FOUND_MS));
    EXPECT_EQ(Texts().pszUnlockOnDevice, m_pLink->Notices()[0]);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    m_pProgram->WaitUntilIdle();
    EXPECT_EQ(nullptr, HandheldFolder("Storage")) << "no folders before the unlock";
    EXPECT_TRUE(ShowsHandheldFolders(HANDHELD_FOUND_MS + 15000)) << "unlocked on the handheld";
    Exit();
}

// Without tarnix-link: the program's stand-in reaches the handheld through
// its own PC side, asks for the password in its own dialog, in the
// program's process, and takes an installation. The handheld is plugged in
// once the program runs, so that the question does not meet the keys the
// test types while the program starts.
TEST_F(ProgramLinkTest, TheStandInsOwnPcSideAsksForThePasswordAndTakesAnInstallation)
{
    const WORD nTriggerPort = FreeLoopbackPort(SOCK_DGRAM);
    const WORD nPcPort = FreeLoopbackPort();
    ASSERT_TRUE(nTriggerPort != 0 && nPcPort != 0);
    UseOwnLink(DEVICE_ADDRESS, nTriggerPort, nPcPort);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_NO_FATAL_FAILURE(StartHandheldForOwnLink(nTriggerPort, nPcPort, "--os 5.1 --password secret"));
    const HWND hQuestion = WaitForPasswordDialog(m_pProgram->ProcessId(), true, HANDHELD_FOUND_MS);
    ASSERT_NE(nullptr, hQuestion) << "the stand-in asks for the password";
    EXPECT_EQ(WideFromUtf8(Texts().pszAsk), PromptOf(hQuestion));
    TypePassword(hQuestion, L"secret");
    PressButton(hQuestion, IDOK);
    ASSERT_NO_FATAL_FAILURE(InstallOntoTheHandheldAndExit());
}

// A failed write ends in the engine's message 410 for the file it failed
// in, within the link's bounds, and every file before it is whole.
TEST_F(ProgramLinkTest, ACablePulledMidFileOrAFullHandheldGives410)
{
    const struct
    {
        const Handheld* pHandheld;
        const char* pszOption;
    } faults[] = {
        { &USB_52, "--drop-after 30000" },
        { &LEGACY_420, "--drop-after 30000" },
        { &USB_52, "--capacity 50000" },
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(std::string(fault.pHandheld->pszId) + " " + fault.pszOption);
        ASSERT_NO_FATAL_FAILURE(StartHandheld(*fault.pHandheld, fault.pszOption));
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_NO_FATAL_FAILURE(InstallOntoStorage());
        const DWORD dwStart = ::GetTickCount();
        HWND hBox = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (hBox = m_pProgram->FindMessageBox()) != nullptr; },
                            CALL_BOUND_MS + LINK_GONE_MS + 5000))
            << "no message within the link's bounds";
        const std::string strText = WindowTextOf(::GetDlgItem(hBox, 0xFFFF));
        EXPECT_EQ(0u, strText.find(LoadedString(IDS_INSTALL_WRITE_FAILED) + "\n")) << strText;
        EXPECT_NE(std::string::npos, strText.find("dict1.kda")) << strText;
        EXPECT_LT(::GetTickCount() - dwStart, CALL_BOUND_MS + LINK_GONE_MS + 5000);
        ::PostMessageA(::GetDlgItem(hBox, IDCANCEL), BM_CLICK, 0, 0);
        ASSERT_TRUE(RunEnded()) << "Cancel stops the run";
        EXPECT_EQ(ContentsOf(m_content.PathOf("dict0.kda")), ContentsOf(m_handheld.PathOf("Storage\\dict0.kda")));
        Exit();
        m_pProgram.reset();
        m_pLink.reset();
        m_pEmulator.reset();
        ::DeleteFileA(m_handheld.PathOf("Storage\\dict0.kda").c_str());
        ::DeleteFileA(m_handheld.PathOf("Storage\\dict1.kda").c_str());
    }
}

}   // namespace

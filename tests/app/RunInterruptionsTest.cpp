// What reaches the program while an installation pumps its messages: a
// second install request, a close of the main window, the program's end.
// The main window made as the program makes it, in this process, with a
// content folder and a destination on the command line.
#include "tests/app/MainWindowStart.h"
#include "catalogue/TarnixDoc.h"
#include "catalogue/TarnixMessages.h"
#include "install/ProgressDlg.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"
#include "tests/install/ProgressRecorder.h"
#include "tests/support/ContentFile.h"
#include "tests/support/FileContents.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TempFolder.h"
#include "ui/MainFrame.h"

#include <gtest/gtest.h>

namespace {

constexpr size_t FILE_BYTES = 3 * 65536;
constexpr int FILES = 3;

class RunInterruptionsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < FILES; ++i)
            m_content.MakeFile(FileName(i), ContentFileBytes(MakeContentHeader("t" + std::to_string(i)), FILE_BYTES));
        m_strCommandLine = m_content.Path() + ",," + m_target.Path();
        m_app.m_lpCmdLine = &m_strCommandLine[0];
        m_pFrame = StartMainWindow(m_app);
        ASSERT_NE(nullptr, m_pFrame);
        m_pDoc = dynamic_cast<CTarnixDoc*>(m_pFrame->GetActiveDocument());
        ASSERT_NE(nullptr, m_pDoc);
        ASSERT_TRUE(PumpMessagesUntil([&] { return m_pDoc->m_nEntries == FILES; }, 5000)) << "the scan";
        m_pFrame->SendMessage(WM_COMMAND, ID_SELECT_ALL);
        // Every chunk shows, so the test's moment comes for sure.
        g_dwProgressRefreshMs = 0;
    }
    void TearDown() override
    {
        g_dwProgressRefreshMs = m_dwRefreshMs;
        if (m_pFrame != nullptr && ::IsWindow(*m_pFrame))
            m_pFrame->DestroyWindow();
        TakeQuitMessage();
    }

    static std::string FileName(int i) { return "f" + std::to_string(i) + ".kda"; }

    // Presses the install button and lets the program's messages run,
    // with fnDuring done each time the bar moves in the run, to its last
    // chunk.
    void InstallWith(const std::function<void(HWND hDlg)>& fnDuring)
    {
        CProgressRecorder progress;
        bool bBegun = false;
        progress.OnEvent([&](const ProgressEvent& event, HWND hDlg) {
            if (event.kind != ProgressEvent::Position || progress.Captions().empty())
                return;
            bBegun = true;
            fnDuring(hDlg);
        });
        m_pFrame->PostMessage(WM_COMMAND, ID_INSTALL);
        PumpMessagesUntil([&] { return bBegun && m_pFrame->IsWindowEnabled(); }, 10000);
        // What is left in the queue after the run has its turn too.
        PumpMessagesFor(300);
        m_captions = progress.Captions();
    }

    const DWORD m_dwRefreshMs = g_dwProgressRefreshMs;
    CTempFolder m_content{ "R:\\" };
    CTempFolder m_target{ "S:\\" };
    std::string m_strCommandLine;
    CWinApp m_app;
    CMainFrame* m_pFrame = nullptr;
    CTarnixDoc* m_pDoc = nullptr;
    std::vector<std::string> m_captions;
};

// Requests that come in up to the last chunk are taken by the run's own
// pumps, the last of them as the run ends.
TEST_F(RunInterruptionsTest, ASecondInstallRequestStartsNoSecondRun)
{
    CMessageBoxRecorder boxes;
    InstallWith([&](HWND) {
        m_pFrame->PostMessage(WM_COMMAND, ID_INSTALL);
        m_pDoc->m_pDestPane->PostMessage(UM_INSTALL);
        m_pDoc->m_pDestPane->PostMessage(UM_REFRESH);
    });
    EXPECT_EQ((std::vector<std::string>{ "Coping f0.kda (1/3)", "Coping f1.kda (2/3)", "Coping f2.kda (3/3)" }),
              m_captions)
        << "one run, once";
    EXPECT_TRUE(boxes.Boxes().empty());
    for (int i = 0; i < FILES; ++i)
        EXPECT_EQ(ContentsOf(m_content.PathOf(FileName(i))), ContentsOf(m_target.PathOf(FileName(i))));
}

TEST_F(RunInterruptionsTest, AClosedMainWindowStaysUntilTheRunIsOver)
{
    CMessageBoxRecorder boxes;
    bool bClosed = false;
    InstallWith([&](HWND) {
        if (!bClosed)
            m_pFrame->PostMessage(WM_CLOSE);
        bClosed = true;
    });
    ASSERT_TRUE(::IsWindow(*m_pFrame)) << "a disabled window is not closed";
    EXPECT_TRUE(m_pFrame->IsWindowEnabled());
    EXPECT_EQ(size_t(FILES), m_captions.size());
    for (int i = 0; i < FILES; ++i)
        EXPECT_EQ(ContentsOf(m_content.PathOf(FileName(i))), ContentsOf(m_target.PathOf(FileName(i))));
}

TEST_F(RunInterruptionsTest, TheProgramsEndStopsTheRunAndEndsTheLoop)
{
    CMessageBoxRecorder boxes;
    bool bQuitSeen = false;
    CProgressRecorder progress;
    progress.OnEvent([&](const ProgressEvent& event, HWND) {
        if (event.kind == ProgressEvent::Position && event.nValue == 0 && !progress.Captions().empty() && !bQuitSeen) {
            bQuitSeen = true;
            PostQuitMessage(5);
        }
    });
    m_pFrame->PostMessage(WM_COMMAND, ID_INSTALL);
    // The program's own loop: it ends with the quit the run handed on.
    EXPECT_EQ(5, m_app.Run());
    EXPECT_TRUE(bQuitSeen);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_target.PathOf(FileName(0)).c_str()))
        << "the file in hand goes";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_target.PathOf(FileName(1)).c_str()));
}

}   // namespace

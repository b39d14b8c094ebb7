// The main window under the program's own message loop, as the user meets
// it: the command bar catches up with a click before the loop sleeps, and a
// message box keeps the whole window out of reach until it is answered.
#include "platform/framework/ControlBar.h"
#include "tests/catalogue/AllocationSeam.h"
#include "tests/support/ContentFile.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/ListTestFrame.h"

#include <gtest/gtest.h>
#include <functional>
#include <thread>

namespace {

// Polls fnDone from another thread than the loop's, for up to 3 seconds.
bool WaitFor(const std::function<bool()>& fnDone)
{
    for (int i = 0; i < 300; ++i) {
        if (fnDone())
            return true;
        Sleep(10);
    }
    return false;
}

TEST(MessageLoop, AClickThatTicksARowEnablesInstallBeforeTheLoopSleeps)
{
    CListTestFrame frame;
    frame.SetEntries(3);
    CDialogBar commandBar;
    ASSERT_TRUE(
        commandBar.Create(&frame.m_frame, IDD_COMMAND_BAR, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM, IDW_COMMAND_BAR));
    const HWND hInstall = ::GetDlgItem(commandBar, ID_INSTALL);
    const HWND hView = *frame.m_pView;
    const DWORD dwLoopThread = GetCurrentThreadId();
    bool bDisabledBeforeClick = false;
    bool bEnabledAfterClick = false;
    // Another thread plays the user: the mouse comes to the first row and
    // rests there until the idle pass has disabled INS and the loop sleeps;
    // then a click, and nothing more.
    std::thread user([&] {
        PostMessageA(hView, WM_MOUSEMOVE, 0, MAKELPARAM(100, 25));
        bDisabledBeforeClick = WaitFor([&] { return !IsWindowEnabled(hInstall); });
        PostMessageA(hView, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 25));
        bEnabledAfterClick = WaitFor([&] { return IsWindowEnabled(hInstall) != FALSE; });
        PostThreadMessageA(dwLoopThread, WM_QUIT, 0, 0);
    });
    const int nExitCode = frame.m_app.Run();
    user.join();
    EXPECT_EQ(0, nExitCode);
    EXPECT_EQ(1, frame.m_doc.m_pEntries[0].bSelected) << "the click ticked the first row";
    EXPECT_TRUE(bDisabledBeforeClick) << "nothing was ticked";
    EXPECT_TRUE(bEnabledAfterClick) << "INS must be usable as soon as a row is ticked";
}

TEST(MessageLoop, TheOutOfMemoryBoxDisablesTheMainWindowAndAClosedFrameLeavesNoViewBehind)
{
    CTempFolder folder;
    folder.MakeFile("a.kda", ContentFileBytes(MakeContentHeader("A"), 300));
    CMessageBoxRecorder boxes;
    BOOL bMainEnabledUnderBox = TRUE;
    HWND hOwnerOfBox = nullptr;
    BOOL bFrameSurvivesClose = FALSE;
    boxes.WhileShown([&](HWND hBox) {
        const HWND hMain = *AfxGetMainWnd();
        hOwnerOfBox = ::GetWindow(hBox, GW_OWNER);
        bMainEnabledUnderBox = ::IsWindowEnabled(hMain);
        // What the taskbar's close does: the frame must stay under the box.
        ::SendMessageA(hMain, WM_CLOSE, 0, 0);
        bFrameSurvivesClose = ::IsWindow(hMain);
    });
    // The folder queue first, then the catalogue's first block: that fails.
    CAllocationSeam seam(2);
    CListTestFrame frame(420, 320, folder.Path().c_str());

    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_NE(frame.m_frame.m_hWnd, hOwnerOfBox) << "the box belongs to the wait notice";
    EXPECT_FALSE(bMainEnabledUnderBox) << "the user could close the window under the running scan";
    EXPECT_TRUE(bFrameSurvivesClose);
    EXPECT_TRUE(frame.m_frame.IsWindowEnabled()) << "enabled again once the box is answered";
    EXPECT_EQ(frame.m_pView, frame.m_doc.m_pListView);

    frame.m_frame.SendMessage(WM_CLOSE);
    EXPECT_EQ(nullptr, frame.m_frame.m_hWnd);
    EXPECT_EQ(nullptr, frame.m_doc.m_pListView) << "the document must not keep a destroyed view";
    TakeQuitMessage();
}

}   // namespace

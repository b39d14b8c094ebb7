// A failure that nothing in the program handled, caught at the edge of the
// framework: the user reads what happened in the language of the program's
// resources, and the program ends instead of running on half-done.
#include "platform/framework/afxwin.h"
#include "res/resource.h"
#include "tests/support/AnsiText.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

constexpr UINT UM_FAIL = WM_USER + 20;

std::string UncaughtFailureText()
{
    return InUsersSet("程式發生無法處理的錯誤，必須結束。", "程序发生无法处理的错误，必须结束。");
}

class CFailingWnd : public CWnd
{
public:
    CFailingWnd() { CreateEx(0, nullptr, "failing", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr); }

protected:
    // A failure with a description (wParam 1) or one without any.
    LRESULT OnFail(WPARAM wParam, LPARAM)
    {
        if (wParam != 0)
            throw std::runtime_error("the disk went away");
        throw 42;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFailingWnd, CWnd)
    ON_MESSAGE(UM_FAIL, OnFail)
END_MESSAGE_MAP()

// The one box and the end of the program that a caught failure gives.
void ExpectReportedAndEnded(const CMessageBoxRecorder& boxes, const std::string& strText)
{
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Tarnix", boxes.Boxes()[0].strCaption);
    EXPECT_EQ(strText, boxes.Boxes()[0].strText);
    EXPECT_EQ(UINT(MB_OK), boxes.Boxes()[0].uType);
    EXPECT_EQ(UINT(MB_ICONEXCLAMATION), boxes.Boxes()[0].uIcon);
    int nExitCode = 0;
    EXPECT_TRUE(TakeQuitMessage(&nExitCode));
    EXPECT_EQ(1, nExitCode);
}

TEST(UncaughtFailure, InAWindowProcedure)
{
    CWinApp app;
    CFailingWnd wnd;
    const struct
    {
        WPARAM wParam;
        std::string strText;
    } cases[] = {
        { 1, UncaughtFailureText() + "\n\nthe disk went away" },
        { 0, UncaughtFailureText() },
    };
    for (const auto& c : cases) {
        CMessageBoxRecorder boxes;
        wnd.SendMessage(UM_FAIL, c.wParam);
        ExpectReportedAndEnded(boxes, c.strText);
    }
}

TEST(UncaughtFailure, EndsTheMessageLoopWithTheFailuresExitCode)
{
    CWinApp app;
    CFailingWnd wnd;
    CMessageBoxRecorder boxes;
    wnd.PostMessage(UM_FAIL, 1);
    EXPECT_EQ(1, app.Run());
    EXPECT_EQ(1u, boxes.Boxes().size());
    TakeQuitMessage();
}

class CFailingDlg : public CDialog
{
public:
    BOOL OnInitDialog() override { throw std::runtime_error("no room"); }
};

TEST(UncaughtFailure, InADialogsInitialisation)
{
    CWinApp app;
    CMessageBoxRecorder boxes;
    CFailingDlg dlg;
    dlg.Create(IDD_WAIT);
    ExpectReportedAndEnded(boxes, UncaughtFailureText() + "\n\nno room");
    dlg.DestroyWindow();
}

class CFailingApp : public CWinApp
{
public:
    BOOL InitInstance() override { throw std::runtime_error("no desktop"); }
};

TEST(UncaughtFailure, AtStartUpEndsTheProgramWithoutALoop)
{
    CFailingApp app;
    CMessageBoxRecorder boxes;
    EXPECT_EQ(1, AfxWinMain(::GetModuleHandleA(nullptr), const_cast<LPSTR>(""), SW_SHOW));
    ExpectReportedAndEnded(boxes, UncaughtFailureText() + "\n\nno desktop");
}

}   // namespace

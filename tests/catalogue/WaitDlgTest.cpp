#include "catalogue/WaitDlg.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"
#include "tests/support/AnsiText.h"

#include <gtest/gtest.h>

namespace {

// The width of the text as the control shows it, in the control's font.
int TextWidthInControl(HWND hWnd, const char* pszText)
{
    HDC hDC = ::GetDC(hWnd);
    const HGDIOBJ hOld = ::SelectObject(hDC, reinterpret_cast<HGDIOBJ>(::SendMessageA(hWnd, WM_GETFONT, 0, 0)));
    SIZE size = {};
    ::GetTextExtentPoint32A(hDC, pszText, static_cast<int>(strlen(pszText)), &size);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(hWnd, hDC);
    return size.cx;
}

std::string ExpectedNotice()
{
    return InUsersSet("請稍候 ...", "请稍候 ...");
}

// What the user sees of the notice: its text must lie wholly inside the
// text control, and the control inside the notice with a visible margin on
// either side.
void ExpectTextInsideWithMargins(CWaitDlg& notice, const char* pszText)
{
    CWnd* pText = notice.GetDlgItem(IDC_WAIT_TEXT);
    RECT rcText;
    pText->GetWindowRect(&rcText);
    notice.ScreenToClient(&rcText);
    RECT rcClient;
    notice.GetClientRect(&rcClient);
    EXPECT_GE(rcText.right - rcText.left, TextWidthInControl(pText->m_hWnd, pszText)) << pszText;
    EXPECT_GE(rcText.left - rcClient.left, 2) << "left margin of " << pszText;
    EXPECT_GE(rcClient.right - rcText.right, 2) << "right margin of " << pszText;
}

TEST(WaitNotice, ShowsThePleaseWaitTextWithMarginsOnBothSides)
{
    CWinApp app;
    CWaitDlg notice(IDS_PLEASE_WAIT, nullptr);
    ASSERT_NE(nullptr, notice.m_hWnd);
    EXPECT_TRUE(notice.IsWindowVisible());
    const std::string strText = WindowTextOf(notice.GetDlgItem(IDC_WAIT_TEXT)->m_hWnd);
    EXPECT_EQ(ExpectedNotice(), strText);
    ExpectTextInsideWithMargins(notice, strText.c_str());
    notice.DestroyWindow();
    EXPECT_EQ(nullptr, notice.m_hWnd);
}

TEST(WaitNotice, AWiderTextWidensTheNoticeAndKeepsItsMargins)
{
    CWinApp app;
    CWaitDlg notice(0, nullptr);
    RECT rcBefore;
    notice.GetWindowRect(&rcBefore);
    const char* pszLong = "A notice text that is far wider than the template allows for";
    notice.SetDlgItemText(IDC_WAIT_TEXT, pszLong);
    notice.OnInitDialog();
    RECT rcAfter;
    notice.GetWindowRect(&rcAfter);
    EXPECT_GT(rcAfter.right - rcAfter.left, rcBefore.right - rcBefore.left);
    ExpectTextInsideWithMargins(notice, pszLong);
    notice.DestroyWindow();
}

TEST(WaitNotice, TemplateTextStaysWithoutAMessageId)
{
    CWinApp app;
    CWaitDlg notice(0, nullptr);
    EXPECT_EQ("Calibrating...", WindowTextOf(notice.GetDlgItem(IDC_WAIT_TEXT)->m_hWnd));
    notice.DestroyWindow();
}

}   // namespace

#include "app/WaitDlg.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"
#include "tests/support/AnsiText.h"

#include <gtest/gtest.h>

namespace {

int TextWidthInControl(HWND hWnd, const char* pszText)
{
    HDC hDC = ::GetDC(hWnd);
    SIZE size = {};
    ::GetTextExtentPoint32A(hDC, pszText, static_cast<int>(strlen(pszText)), &size);
    ::ReleaseDC(hWnd, hDC);
    return size.cx;
}

std::string ExpectedNotice()
{
    // The locale of the test run picks the language set.
    return ::GetACP() == 936 ? AnsiFromUtf8("请稍候 ...") : AnsiFromUtf8("請稍候 ...");
}

TEST(WaitNotice, ShowsThePleaseWaitTextWideEnough)
{
    CWinApp app;
    CWaitDlg notice(IDS_PLEASE_WAIT, nullptr);
    ASSERT_NE(nullptr, notice.m_hWnd);
    EXPECT_TRUE(notice.IsWindowVisible());

    CWnd* pText = notice.GetDlgItem(IDC_WAIT_TEXT);
    ASSERT_NE(nullptr, pText);
    char szText[256] = {};
    pText->GetWindowText(szText, sizeof(szText));
    EXPECT_EQ(ExpectedNotice(), szText);

    RECT rcText;
    pText->GetWindowRect(&rcText);
    notice.ScreenToClient(&rcText);
    EXPECT_GE(rcText.right - rcText.left, TextWidthInControl(pText->m_hWnd, szText) + 4);

    // When the control had to grow, the notice grew with it and keeps the
    // same margin on both sides.
    RECT rcClient;
    notice.GetClientRect(&rcClient);
    EXPECT_GE(rcClient.right, rcText.right);
    notice.DestroyWindow();
    EXPECT_EQ(nullptr, notice.m_hWnd);
}

TEST(WaitNotice, LongTextWidensTextAndNotice)
{
    CWinApp app;
    CWaitDlg notice(0, nullptr);
    // Measured again with a text far wider than the template allows.
    const char* pszLong = "A notice text that is far wider than the template allows for";
    notice.SetDlgItemText(IDC_WAIT_TEXT, pszLong);
    notice.m_nMessageId = 0;
    CWnd* pText = notice.GetDlgItem(IDC_WAIT_TEXT);
    RECT rcBefore;
    pText->GetWindowRect(&rcBefore);
    notice.OnInitDialog();

    RECT rcText;
    pText->GetWindowRect(&rcText);
    notice.ScreenToClient(&rcText);
    const int nWidth = TextWidthInControl(pText->m_hWnd, pszLong);
    EXPECT_EQ(nWidth + 4, rcText.right - rcText.left);
    RECT rcNotice;
    notice.GetWindowRect(&rcNotice);
    EXPECT_EQ(rcText.right + rcText.left, rcNotice.right - rcNotice.left);
    notice.DestroyWindow();
}

TEST(WaitNotice, TemplateTextStaysWithoutAMessageId)
{
    CWinApp app;
    CWaitDlg notice(0, nullptr);
    char szText[256] = {};
    notice.GetDlgItem(IDC_WAIT_TEXT)->GetWindowText(szText, sizeof(szText));
    EXPECT_STREQ("Calibrating...", szText);
    notice.DestroyWindow();
}

}   // namespace

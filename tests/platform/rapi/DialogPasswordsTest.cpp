// The stand-in's password dialog and unlock notice, shown for real and
// answered as a user would: characters typed into the field, buttons
// clicked. Their texts are those of tarnix-link's prompt, in the language
// set of the test's locale.
#include "platform/rapi/DialogPasswords.h"

#include "platform/link/PromptTexts.h"
#include "platform/rapi/PasswordDialogIds.h"
#include "tests/platform/rapi/PasswordDialogDriver.h"

#include <gtest/gtest.h>
#include <chrono>
#include <cstdlib>
#include <future>
#include <list>

namespace {
constexpr DWORD SHOWN_MS = 10000;
constexpr DWORD SETTLE_MS = 300;

const PromptTexts& Texts()
{
    return PromptTextsFor(std::getenv("LC_ALL"), std::getenv("LANG"));
}

template <class T> bool IsReadyWithin(const std::future<T>& result, DWORD dwMs)
{
    return result.wait_for(std::chrono::milliseconds(dwMs)) == std::future_status::ready;
}

class DialogPasswordsTest : public testing::Test
{
protected:
    // A question still open when a test ends early is ended, so that its
    // thread, which the question's future waits for, ends too.
    void TearDown() override { m_passwords.Cancel(); }

    std::future<bool>& Ask(bool bRetry)
    {
        m_asked.push_back(
            std::async(std::launch::async, [this, bRetry] { return m_passwords.NextPassword(bRetry, m_strAnswer); }));
        return m_asked.back();
    }

    CDialogPasswords m_passwords{ GetModuleHandleW(nullptr) };
    std::u16string m_strAnswer = u"untouched";
    std::list<std::future<bool>> m_asked;
};

// What is typed arrives as the characters typed, whatever the ANSI code
// page; the field shows none of them; OK waits for a first character.
TEST_F(DialogPasswordsTest, ATypedPasswordIsTheAnswer)
{
    std::future<bool>& answered = Ask(false);
    HWND hDlg = WaitForPasswordDialog(GetCurrentProcessId(), true);
    ASSERT_NE(nullptr, hDlg);
    EXPECT_EQ(WideFromUtf8(Texts().pszAsk), PromptOf(hDlg));
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(hDlg, IDC_STANDIN_PASSWORD), GWL_STYLE) & ES_PASSWORD);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDOK))) << "nothing typed yet";
    PressEnter(hDlg);
    EXPECT_FALSE(IsReadyWithin(answered, SETTLE_MS)) << "Enter in an empty field is no answer";
    TypePassword(hDlg, L"\u5BC6\u78BCa1");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDOK)));
    PressButton(hDlg, IDOK);
    ASSERT_TRUE(IsReadyWithin(answered, SHOWN_MS));
    EXPECT_TRUE(answered.get());
    EXPECT_EQ(u"\u5BC6\u78BCa1", m_strAnswer);
    EXPECT_TRUE(ShownPasswordDialogs(GetCurrentProcessId(), true).empty());
}

TEST_F(DialogPasswordsTest, ARetryIsAskedWithItsOwnTextAndCancelGivesUp)
{
    std::future<bool>& answered = Ask(true);
    HWND hDlg = WaitForPasswordDialog(GetCurrentProcessId(), true);
    ASSERT_NE(nullptr, hDlg);
    EXPECT_EQ(WideFromUtf8(Texts().pszRetry), PromptOf(hDlg));
    TypePassword(hDlg, L"typed");
    PressButton(hDlg, IDCANCEL);
    ASSERT_TRUE(IsReadyWithin(answered, SHOWN_MS));
    EXPECT_FALSE(answered.get());
    EXPECT_EQ(u"untouched", m_strAnswer);
}

// As when the link stops with a question open: it ends at once, and no
// later question is shown.
TEST_F(DialogPasswordsTest, CancelEndsAnOpenQuestionAndEveryLaterOne)
{
    std::future<bool>& answered = Ask(false);
    ASSERT_NE(nullptr, WaitForPasswordDialog(GetCurrentProcessId(), true));
    m_passwords.Cancel();
    ASSERT_TRUE(IsReadyWithin(answered, SHOWN_MS));
    EXPECT_FALSE(answered.get());
    std::future<bool>& later = Ask(false);
    ASSERT_TRUE(IsReadyWithin(later, SHOWN_MS));
    EXPECT_FALSE(later.get());
    EXPECT_TRUE(ShownPasswordDialogs(GetCurrentProcessId(), true).empty());
}

// The notice stays until the link ends it (the handheld unlocked or gone)
// or the user closes it; closed, it is not shown again until the link has
// ended that wait.
TEST_F(DialogPasswordsTest, TheUnlockNoticeStaysUntilEndedOrClosed)
{
    m_passwords.ShowUnlockNotice();
    HWND hNotice = WaitForPasswordDialog(GetCurrentProcessId(), false);
    ASSERT_NE(nullptr, hNotice);
    EXPECT_EQ(WideFromUtf8(Texts().pszUnlockOnDevice), PromptOf(hNotice));
    m_passwords.ShowUnlockNotice();
    Sleep(SETTLE_MS);
    EXPECT_EQ(1u, ShownPasswordDialogs(GetCurrentProcessId(), false).size()) << "one notice at a time";
    m_passwords.EndUnlockNotice();
    EXPECT_FALSE(IsWindow(hNotice)) << "ended by the link";

    m_passwords.ShowUnlockNotice();
    hNotice = WaitForPasswordDialog(GetCurrentProcessId(), false);
    ASSERT_NE(nullptr, hNotice);
    PressButton(hNotice, IDCANCEL);
    for (DWORD dwStart = GetTickCount(); IsWindow(hNotice) && GetTickCount() - dwStart < SHOWN_MS;)
        Sleep(20);
    EXPECT_FALSE(IsWindow(hNotice)) << "closed by the user";
    m_passwords.ShowUnlockNotice();
    Sleep(SETTLE_MS);
    EXPECT_TRUE(ShownPasswordDialogs(GetCurrentProcessId(), false).empty()) << "the user gave up on this wait";

    m_passwords.EndUnlockNotice();
    m_passwords.ShowUnlockNotice();
    EXPECT_NE(nullptr, WaitForPasswordDialog(GetCurrentProcessId(), false)) << "a new wait";
    m_passwords.Cancel();
    EXPECT_TRUE(ShownPasswordDialogs(GetCurrentProcessId(), false).empty()) << "closed when the link stops";
}
}   // namespace

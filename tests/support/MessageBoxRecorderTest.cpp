#include "tests/support/MessageBoxRecorder.h"

#include "tests/support/AnsiText.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// An in-memory dialog template that looks like a message box: an OK button
// and a text, no icon.
class CBoxLikeTemplate
{
public:
    CBoxLikeTemplate()
    {
        AppendDword(WS_POPUP | WS_CAPTION | WS_VISIBLE);
        AppendDword(0);
        m_aWords.push_back(2);
        m_aWords.insert(m_aWords.end(), { 0, 0, 100, 50 });
        m_aWords.insert(m_aWords.end(), { 0, 0, L'D', 0 });   // no menu, dialog class, caption "D"
        AppendItem(0x0082, 0xFFFF, WS_CHILD | WS_VISIBLE);    // static text
        AppendItem(0x0080, IDOK, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON);
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_aWords.data()); }

private:
    void AppendDword(DWORD dw) { m_aWords.insert(m_aWords.end(), { LOWORD(dw), HIWORD(dw) }); }
    void AppendItem(WORD wClassAtom, WORD wId, DWORD dwStyle)
    {
        if (m_aWords.size() % 2)
            m_aWords.push_back(0);
        AppendDword(dwStyle);
        AppendDword(0);
        m_aWords.insert(m_aWords.end(), { 5, 5, 40, 14, wId, 0xFFFF, wClassAtom, L'x', 0, 0 });
    }
    std::vector<WORD> m_aWords;
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT uMsg, WPARAM, LPARAM)
{
    return uMsg == WM_INITDIALOG;
}

}   // namespace

TEST(MessageBoxRecorder, RecordsButtonsAndIconAndClicksTheScriptedButton)
{
    struct Case
    {
        UINT uStyle;
        int nAnswer;
        UINT uIcon;
    };
    const Case cases[] = {
        { MB_OK | MB_ICONEXCLAMATION, IDOK, MB_ICONEXCLAMATION },
        { MB_OKCANCEL | MB_ICONINFORMATION, IDCANCEL, MB_ICONINFORMATION },
        { MB_YESNO | MB_ICONQUESTION, IDNO, MB_ICONQUESTION },
        { MB_YESNOCANCEL, IDYES, 0 },
        { MB_RETRYCANCEL | MB_ICONERROR, IDRETRY, MB_ICONERROR },
        { MB_ABORTRETRYIGNORE | MB_ICONWARNING, IDIGNORE, MB_ICONWARNING },
        { MB_CANCELTRYCONTINUE | MB_ICONASTERISK, IDCONTINUE, MB_ICONASTERISK },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << std::hex << c.uStyle);
        CMessageBoxRecorder recorder;
        recorder.Answer(c.nAnswer);

        EXPECT_EQ(c.nAnswer, MessageBoxA(nullptr, "Text", "Caption", c.uStyle));

        ASSERT_EQ(1u, recorder.Boxes().size());
        const MessageBoxRecord& box = recorder.Boxes()[0];
        EXPECT_EQ("Caption", box.strCaption);
        EXPECT_EQ("Text", box.strText);
        EXPECT_EQ(c.uStyle & MB_TYPEMASK, box.uType);
        EXPECT_EQ(c.uIcon, box.uIcon);
    }
}

TEST(MessageBoxRecorder, AnswersInScriptedOrderThenOk)
{
    CMessageBoxRecorder recorder;
    recorder.Answer(IDCANCEL);
    recorder.Answer(IDNO);

    EXPECT_EQ(IDCANCEL, MessageBoxA(nullptr, "first", "Tarnix", MB_OKCANCEL));
    EXPECT_EQ(IDNO, MessageBoxA(nullptr, "second", "Tarnix", MB_YESNO));
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "third", "Tarnix", MB_OKCANCEL));
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "fourth", "Tarnix", MB_OK | MB_ICONEXCLAMATION));

    ASSERT_EQ(4u, recorder.Boxes().size());
    EXPECT_EQ("first", recorder.Boxes()[0].strText);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), recorder.Boxes()[1].uType);
    EXPECT_EQ("third", recorder.Boxes()[2].strText);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), recorder.Boxes()[3].uIcon);
}

TEST(MessageBoxRecorder, KeepsAnsiTextsOfTheCodePage)
{
    const std::string strText = AnsiFromUtf8("記憶體不足.");
    const std::string strCaption = AnsiFromUtf8("Lexora字庫安裝程式");
    CMessageBoxRecorder recorder;

    MessageBoxA(nullptr, strText.c_str(), strCaption.c_str(), MB_OK | MB_ICONEXCLAMATION);

    ASSERT_EQ(1u, recorder.Boxes().size());
    EXPECT_EQ(strText, recorder.Boxes()[0].strText);
    EXPECT_EQ(strCaption, recorder.Boxes()[0].strCaption);
}

TEST(MessageBoxRecorder, AnswersABoxOverAnOwnerWindow)
{
    HWND hOwner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hOwner);
    CMessageBoxRecorder recorder;
    recorder.Answer(IDCANCEL);

    EXPECT_EQ(IDCANCEL, MessageBoxA(hOwner, "owned", "Tarnix", MB_OKCANCEL | MB_ICONEXCLAMATION));

    EXPECT_EQ(1u, recorder.Boxes().size());
    EXPECT_TRUE(IsWindowEnabled(hOwner));
    DestroyWindow(hOwner);
}

TEST(MessageBoxRecorder, LeavesTheProgramsOwnDialogsAlone)
{
    CMessageBoxRecorder recorder;
    CBoxLikeTemplate dialog;

    HWND hDialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), nullptr, PlainDialogProc, 0);
    ASSERT_NE(nullptr, hDialog);
    PumpMessagesFor(100);

    EXPECT_TRUE(IsWindow(hDialog));
    EXPECT_TRUE(recorder.Boxes().empty());
    DestroyWindow(hDialog);
}

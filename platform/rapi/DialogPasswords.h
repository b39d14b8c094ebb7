// The stand-in's password source: a locked handheld's password asked for
// in a dialog, the typed characters masked, in the language set the
// resource loader picks for the user's system; a handheld to be unlocked on
// its own screen shown as a notice until it is unlocked, its link goes or
// the user closes it. The dialogs have no owner: the library does not know
// the program's windows, so they come up in front of them on their own.
// The question runs on the link's control thread, which waits for the
// answer anyway; the notice has a thread of its own, as the link goes on
// waiting for the unlock while it is shown.
#pragma once

#include "platform/handheldlink/PasswordSource.h"

#include <windows.h>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

class CDialogPasswords : public handheldlink::IPasswordSource
{
public:
    // hResources: the module holding the dialogs (PasswordDialogs.rc).
    explicit CDialogPasswords(HINSTANCE hResources);
    // Closes the notice; Cancel() must have ended any question first.
    ~CDialogPasswords() override;
    CDialogPasswords(const CDialogPasswords&) = delete;
    CDialogPasswords& operator=(const CDialogPasswords&) = delete;

    // False when the user cancels, or Cancel() ended the question.
    bool NextPassword(bool bRetry, std::u16string& strPassword) override;
    void ShowUnlockNotice() override;
    void EndUnlockNotice() override;
    // Ends a question waiting for its answer, and every later one, as if
    // the user gave up, and closes the notice: the link's control thread
    // can then be stopped.
    void Cancel();

private:
    struct Question
    {
        CDialogPasswords* pOwner;
        bool bRetry;
        std::wstring strTyped;
    };

    // The dialogs' procedures, each behind a guard that lets nothing unwind
    // through the system's dialog code.
    static INT_PTR OnQuestionMessage(HWND hDlg, UINT nMessage, WPARAM wParam, LPARAM lParam);
    static INT_PTR OnNoticeMessage(HWND hDlg, UINT nMessage, WPARAM wParam, LPARAM lParam);
    void StartQuestion(HWND hDlg, const Question& question);
    void Answer(HWND hDlg, Question& question);
    // Records an open dialog in its slot; false when it is no longer
    // wanted (bWanted, read under the lock), and must end at once.
    bool Opened(HWND& hSlot, HWND hDlg, const bool& bWanted);
    void Closed(HWND& hSlot, HWND hDlg);

    HINSTANCE m_hResources;
    std::mutex m_csNotice;   // one thread at a time starts or ends the notice's thread
    std::thread m_notice;
    std::mutex m_cs;   // guards what follows
    bool m_bAnswersWanted = true;
    bool m_bNoticeOn = false;   // shown, or closed by the user, and not yet ended
    HWND m_hQuestion = nullptr;
    HWND m_hNotice = nullptr;
};

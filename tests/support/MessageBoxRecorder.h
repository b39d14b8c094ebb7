// Records and answers the message boxes the code under test shows, so a test
// can check what the user would have read and never waits on a box.
#pragma once

#include <windows.h>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// One message box as the user saw it. Texts are ANSI (the test's code page).
struct MessageBoxRecord
{
    std::string strCaption;
    std::string strText;
    UINT uType;   // MB_OK, MB_OKCANCEL, MB_YESNO ... as read from its buttons,
                  // (UINT)-1 for a set of buttons no MB_ type gives
    UINT uIcon;   // MB_ICONEXCLAMATION, MB_ICONINFORMATION ... or 0
};

// While alive, a CBT hook on this thread catches every message box, records
// it and clicks the button scripted with Answer(), first scripted first;
// unscripted boxes are answered IDOK. Only one recorder may be alive.
class CMessageBoxRecorder
{
public:
    CMessageBoxRecorder();
    ~CMessageBoxRecorder();
    CMessageBoxRecorder(const CMessageBoxRecorder&) = delete;
    CMessageBoxRecorder& operator=(const CMessageBoxRecorder&) = delete;

    void Answer(int nButtonId) { m_aAnswers.push_back(nButtonId); }
    // Runs fn with each box while it is up, before it is answered: for what
    // the rest of the program looks like under the box.
    void WhileShown(std::function<void(HWND hBox)> fn) { m_fnWhileShown = std::move(fn); }
    const std::vector<MessageBoxRecord>& Boxes() const { return m_aBoxes; }

private:
    static LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND hWnd);
    void OnDestroy(HWND hWnd);
    int NextAnswer();

    static CMessageBoxRecorder* s_pActive;
    HHOOK m_hHook;
    std::deque<int> m_aAnswers;
    std::vector<MessageBoxRecord> m_aBoxes;
    std::vector<HWND> m_aOpenBoxes;   // answered, not yet destroyed
    std::function<void(HWND)> m_fnWhileShown;
};

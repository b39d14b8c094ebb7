// What the progress dialog shows during a run, as the user would have read
// it: every caption, bar range, bar position and percentage it was given,
// in order. A WH_CALLWNDPROC hook on the test's thread sees the messages
// as they reach the dialog and its controls; a test can also act on them,
// as a user pressing Cancel at a given moment.
#pragma once

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

struct ProgressEvent
{
    enum Kind
    {
        Caption,
        Range,
        Position,
        Percent
    } kind;
    std::string strText;   // Caption, Percent
    int nValue;            // Range: the upper end; Position: the position
};

class CProgressRecorder
{
public:
    CProgressRecorder();
    ~CProgressRecorder();
    CProgressRecorder(const CProgressRecorder&) = delete;
    CProgressRecorder& operator=(const CProgressRecorder&) = delete;

    // Runs fn after each event, with the dialog's window.
    void OnEvent(std::function<void(const ProgressEvent&, HWND hDlg)> fn) { m_fnOnEvent = std::move(fn); }
    const std::vector<ProgressEvent>& Events() const { return m_events; }
    std::vector<std::string> Captions() const;
    // The bar's range (its upper end) of each caption's file.
    std::vector<int> Ranges() const;

    // Presses the dialog's Cancel button, as the user's click would reach
    // the dialog when its messages are next pumped.
    static void PressCancel(HWND hDlg);

private:
    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam);
    void Record(const CWPSTRUCT& message);

    static CProgressRecorder* s_pActive;
    HHOOK m_hHook;
    std::vector<ProgressEvent> m_events;
    std::function<void(const ProgressEvent&, HWND)> m_fnOnEvent;
};

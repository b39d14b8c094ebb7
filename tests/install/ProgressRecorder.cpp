#include "tests/install/ProgressRecorder.h"

#include "res/resource.h"

#include <commctrl.h>

CProgressRecorder* CProgressRecorder::s_pActive = nullptr;

namespace {

// The progress dialog is the window that holds the progress bar 1003.
bool IsProgressDialog(HWND hWnd)
{
    char szClass[16];
    return GetClassNameA(hWnd, szClass, sizeof(szClass)) && lstrcmpA(szClass, "#32770") == 0
           && GetDlgItem(hWnd, IDC_PROGRESS_BAR) != nullptr;
}

}   // namespace

CProgressRecorder::CProgressRecorder()
    : m_hHook(SetWindowsHookExA(WH_CALLWNDPROC, &HookProc, nullptr, GetCurrentThreadId()))
{
    s_pActive = this;
}

CProgressRecorder::~CProgressRecorder()
{
    UnhookWindowsHookEx(m_hHook);
    s_pActive = nullptr;
}

LRESULT CALLBACK CProgressRecorder::HookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && s_pActive != nullptr)
        s_pActive->Record(*reinterpret_cast<const CWPSTRUCT*>(lParam));
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void CProgressRecorder::Record(const CWPSTRUCT& message)
{
    HWND hDlg = nullptr;
    ProgressEvent event{ ProgressEvent::Caption, std::string(), 0 };
    if (message.message == WM_SETTEXT && IsProgressDialog(message.hwnd)) {
        hDlg = message.hwnd;
        event = { ProgressEvent::Caption, reinterpret_cast<LPCSTR>(message.lParam), 0 };
    } else if (message.message == WM_SETTEXT && GetDlgCtrlID(message.hwnd) == IDC_PERCENT
               && IsProgressDialog(GetParent(message.hwnd))) {
        hDlg = GetParent(message.hwnd);
        event = { ProgressEvent::Percent, reinterpret_cast<LPCSTR>(message.lParam), 0 };
    } else if (message.message == PBM_SETRANGE && IsProgressDialog(GetParent(message.hwnd))) {
        hDlg = GetParent(message.hwnd);
        event = { ProgressEvent::Range, std::string(), HIWORD(message.lParam) };
    } else if (message.message == PBM_SETPOS && IsProgressDialog(GetParent(message.hwnd))) {
        hDlg = GetParent(message.hwnd);
        event = { ProgressEvent::Position, std::string(), static_cast<int>(message.wParam) };
    }
    if (hDlg == nullptr)
        return;
    m_events.push_back(event);
    if (m_fnOnEvent)
        m_fnOnEvent(event, hDlg);
}

std::vector<std::string> CProgressRecorder::Captions() const
{
    std::vector<std::string> captions;
    for (const ProgressEvent& event : m_events) {
        if (event.kind == ProgressEvent::Caption)
            captions.push_back(event.strText);
    }
    return captions;
}

std::vector<int> CProgressRecorder::Ranges() const
{
    // Each file's range is set just before its caption.
    std::vector<int> ranges;
    int nLastRange = 0;
    for (const ProgressEvent& event : m_events) {
        if (event.kind == ProgressEvent::Range)
            nLastRange = event.nValue;
        else if (event.kind == ProgressEvent::Caption)
            ranges.push_back(nLastRange);
    }
    return ranges;
}

void CProgressRecorder::PressCancel(HWND hDlg)
{
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
}

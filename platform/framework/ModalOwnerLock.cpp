#include "platform/framework/ModalOwnerLock.h"

#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"

CModalOwnerLock::CModalOwnerLock(HWND hWndOwner)
{
    CWnd* pMain = AfxGetMainWnd();
    HWND hWnd = pMain ? pMain->m_hWnd : nullptr;
    if (hWnd != nullptr && hWnd != hWndOwner && ::IsWindowEnabled(hWnd)) {
        ::EnableWindow(hWnd, FALSE);
        m_hWndDisabled = hWnd;
    }
}

CModalOwnerLock::~CModalOwnerLock()
{
    if (m_hWndDisabled == nullptr || !::IsWindow(m_hWndDisabled))
        return;
    ::EnableWindow(m_hWndDisabled, TRUE);
    // When the box's owner went meanwhile, nothing of the program is active
    // and the system would hand the activation to another program.
    if (::GetActiveWindow() == nullptr)
        ::SetActiveWindow(m_hWndDisabled);
}

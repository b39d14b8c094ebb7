#include "platform/framework/CmdTarget.h"
#include "platform/framework/WinApp.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = { { 0, 0, 0, 0, nullptr } };
    static const AFX_MSGMAP map = { nullptr, entries };
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT nMessage, int nCode, UINT nID) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->pfnThunk != nullptr; ++p) {
            if (p->nMessage == nMessage && p->nCode == nCode && p->nID <= nID && nID <= p->nLastID)
                return p;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::Dispatch(const AFX_MSGMAP_ENTRY* pEntry, AFX_MSGCALL& call)
{
    pEntry->pfnThunk(this, call);
    return TRUE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Notifications are keyed by WM_NOTIFY and their own code.
    UINT nMessage = WM_COMMAND;
    int nEntryCode = nCode;
    if (HIWORD(nCode) == WM_NOTIFY) {
        nMessage = WM_NOTIFY;
        nEntryCode = static_cast<short>(LOWORD(nCode));
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindEntry(nMessage, nEntryCode, nID);
    if (pEntry == nullptr)
        return FALSE;
    if (pHandlerInfo != nullptr) {
        pHandlerInfo->pTarget = this;
        return TRUE;
    }
    AFX_MSGCALL call = { nMessage, 0, 0, nID, pExtra, 0 };
    if (nMessage == WM_NOTIFY) {
        auto* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        call.lParam = reinterpret_cast<LPARAM>(pNotify->pNMHDR);
        Dispatch(pEntry, call);
        *pNotify->pResult = call.lResult;
        return TRUE;
    }
    return Dispatch(pEntry, call);
}

void CCmdTarget::BeginWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(-1);
}

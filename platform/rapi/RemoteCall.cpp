#include "platform/rapi/RemoteCall.h"

RapiState g_rapiState;

namespace {
void MarkLinkDown()
{
    g_rapiState.dwLastError = LINK_DOWN_ERROR;
    g_rapiState.hrLinkError = LINK_DOWN_RESULT;
}
}   // namespace

CRemoteCall::CRemoteCall(RapiWire::Opcode opcode) : m_lock(g_rapiState.cs)
{
    m_request.PutByte(opcode);
}

BOOL CRemoteCall::Run()
{
    CRapiSession* pSession = g_rapiState.pSession.get();
    if (!pSession || !pSession->Transact(m_request, m_reply)) {
        MarkLinkDown();
        return FALSE;
    }
    g_rapiState.hrLinkError = S_OK;
    return TRUE;
}

BOOL CRemoteCall::Conclude(BOOL bDecoded, const ReplyStatus& status)
{
    if (!bDecoded) {
        g_rapiState.pSession->DropLink();
        MarkLinkDown();
        return FALSE;
    }
    g_rapiState.dwLastError = status.dwError;
    return TRUE;
}

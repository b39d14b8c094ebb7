#include "platform/rapi/RemoteCall.h"

RapiState g_rapiState;

CRemoteCall::CRemoteCall(RapiWire::Opcode opcode) : m_lock(g_rapiState.cs), m_reader(nullptr, 0)
{
    m_request.PutByte(opcode);
}

BOOL CRemoteCall::Run()
{
    CRapiSession* pSession = g_rapiState.pSession.get();
    if (!pSession || !pSession->Transact(m_request, m_reply)) {
        g_rapiState.dwLastError = LINK_DOWN_ERROR;
        g_rapiState.hrLinkError = LINK_DOWN_RESULT;
        return FALSE;
    }
    g_rapiState.hrLinkError = S_OK;
    m_reader = CWireReader(m_reply);
    m_dwResult = m_reader.GetDword();
    m_dwError = m_reader.GetDword();
    return TRUE;
}

BOOL CRemoteCall::Finish(BOOL bPlausible)
{
    if (!bPlausible || !m_reader.IsAtEnd()) {
        g_rapiState.pSession->DropLink();
        g_rapiState.dwLastError = LINK_DOWN_ERROR;
        g_rapiState.hrLinkError = LINK_DOWN_RESULT;
        return FALSE;
    }
    g_rapiState.dwLastError = m_dwError;
    return TRUE;
}

// One initialised remote session of the stand-in library: from CeRapiInitEx
// to CeRapiUninit. A background thread connects to the handheld and shakes
// hands; afterwards every call is one request/reply exchange on that
// connection, bounded in time. A connection that fails once stays down for
// the rest of the session, since its byte stream can no longer be trusted.
#pragma once

#include "platform/rapi/rapi.h"
#include "platform/rapi/Handle.h"
#include "platform/rapi/Lock.h"
#include "platform/rapi/Socket.h"

#include <vector>

class CWireWriter;

class CRapiSession
{
public:
    CRapiSession(const sockaddr_in& addr, RAPIINIT* pInit);
    // Aborts a connection attempt still running and waits for its thread.
    ~CRapiSession();
    CRapiSession(const CRapiSession&) = delete;
    CRapiSession& operator=(const CRapiSession&) = delete;

    // Hands the caller its event and starts the connection attempt.
    HRESULT Start();
    // FALSE when the link is not up or fails during the exchange.
    BOOL Transact(const CWireWriter& request, std::vector<BYTE>& reply);
    // For a reply that makes no sense: the stream is out of step.
    void DropLink();

private:
    static DWORD WINAPI ConnectorThreadProc(void* pParam);
    void RunConnector();
    CSocket ConnectOnce();
    // TRUE when the handheld answered; its answer is in *phr.
    BOOL ShakeHands(SOCKET s, HRESULT* phr);
    void Publish(CSocket link, HRESULT hr);

    CWinsock m_winsock;
    sockaddr_in m_addr;
    RAPIINIT* m_pInit;
    CHandle m_hReady;   // the caller's event: set when the handheld answered
    CHandle m_hAbort;
    CHandle m_hThread;
    HMODULE m_hPinned = nullptr;
    CCriticalSection m_csLink;
    CSocket m_link;
};

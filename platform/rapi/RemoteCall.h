// The library-wide state behind the exported functions (the one session and
// the last remote error) and one remote call made against it. A call holds
// the library's lock from construction to destruction, so calls from
// several threads take turns on the one connection.
#pragma once

#include "platform/rapi/RapiSession.h"
#include "platform/rapi/RapiWire.h"

#include <memory>
#include <vector>

struct RapiState
{
    CCriticalSection cs;
    std::unique_ptr<CRapiSession> pSession;
    DWORD dwLastError = 0;
    HRESULT hrLinkError = S_OK;   // the last call's link failure, or S_OK
};

extern RapiState g_rapiState;

// What CeGetLastError tells after a call that never reached the handheld.
constexpr DWORD LINK_DOWN_ERROR = ERROR_DEVICE_NOT_CONNECTED;
// What CeRapiGetError tells after such a call.
constexpr HRESULT LINK_DOWN_RESULT = HRESULT_FROM_WIN32(LINK_DOWN_ERROR);

class CRemoteCall
{
public:
    explicit CRemoteCall(RapiWire::Opcode opcode);
    CRemoteCall(const CRemoteCall&) = delete;
    CRemoteCall& operator=(const CRemoteCall&) = delete;

    CWireWriter& Request() { return m_request; }
    // Sends the request and reads the reply up to its result word. FALSE
    // when the handheld could not be reached; the last error tells so.
    BOOL Run();
    DWORD Result() const { return m_dwResult; }
    // The fields of the reply after the result and the error word.
    CWireReader& Reply() { return m_reader; }
    // TRUE when the reply was read exactly to its end; then the handheld's
    // error word becomes the last error. A reply that does not add up, or
    // whose fields the caller found implausible, drops the link.
    BOOL Finish(BOOL bPlausible = TRUE);

private:
    CLock m_lock;
    CWireWriter m_request;
    std::vector<BYTE> m_reply;
    CWireReader m_reader;
    DWORD m_dwResult = 0;
    DWORD m_dwError = 0;
};

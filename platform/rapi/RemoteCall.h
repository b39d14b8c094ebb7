// The library-wide state behind the exported functions (the one session and
// the last remote error) and one remote call made against it. A call holds
// the library's lock from construction to destruction, so calls from
// several threads take turns on the one connection.
#pragma once

#include "platform/rapi/RapiReplies.h"
#include "platform/rapi/RapiSession.h"
#include "platform/rapi/RapiWire.h"

#include <memory>
#include <vector>

class CInProcessLink;

struct RapiState
{
    CCriticalSection csLifecycle;   // held while a session begins or ends
    CCriticalSection cs;
    std::unique_ptr<CRapiSession> pSession;
    // The stand-in's own PC side once a session went through it. It stays
    // up between sessions, so that the handheld's control connection and
    // handshake are made once, not at every connect; a session asking for
    // other settings replaces it. Never ended by this object's destructor:
    // that runs under the loader lock, where the link's threads cannot be
    // waited for. A running link pins the library, so only the end of the
    // process, its threads already gone, finds one here.
    CInProcessLink* pLink = nullptr;
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
    // Sends the request and receives the whole reply. FALSE when the
    // handheld could not be reached; the last error tells so.
    BOOL Run();
    // The reply's body, for its decoder.
    const BYTE* Body() const { return m_reply.data(); }
    size_t BodySize() const { return m_reply.size(); }
    // Ends the call with what the decoder made of the reply: the handheld's
    // error word becomes the last error. A reply that did not decode drops
    // the link, as the stream can no longer be trusted; then FALSE.
    BOOL Conclude(BOOL bDecoded, const ReplyStatus& status);

private:
    CLock m_lock;
    CWireWriter m_request;
    std::vector<BYTE> m_reply;
};

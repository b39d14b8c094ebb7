#include "platform/rapi/RapiSession.h"

#include "platform/rapi/Deadline.h"
#include "platform/rapi/Lock.h"
#include "platform/rapi/RapiReplies.h"
#include "platform/rapi/RapiWire.h"
#include "platform/rapi/SocketIo.h"

namespace {
// A call that gets no complete reply within this time fails; a real link
// at its slowest moves a 64 KiB block in well under a second.
constexpr DWORD CALL_TIMEOUT_MS = 5000;
constexpr DWORD CONNECT_TIMEOUT_MS = 1000;
// Pause between attempts while nothing listens.
constexpr DWORD RETRY_INTERVAL_MS = 250;

// The connection thread holds a reference on this library, so a program
// that frees it without CeRapiUninit does not pull the code from under it.
HMODULE PinThisLibrary()
{
    HMODULE hModule = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&PinThisLibrary), &hModule);
    return hModule;
}
}   // namespace

CRapiSession::CRapiSession(const sockaddr_in& addr, RAPIINIT* pInit) : m_addr(addr), m_pInit(pInit) {}

CRapiSession::~CRapiSession()
{
    if (m_hThread.IsValid()) {
        SetEvent(m_hAbort.Get());
        WaitForSingleObject(m_hThread.Get(), INFINITE);
    }
}

HRESULT CRapiSession::Start()
{
    if (!m_winsock.IsReady())
        return E_FAIL;
    m_hReady = CHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_hAbort = CHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!m_hReady.IsValid() || !m_hAbort.IsValid())
        return E_OUTOFMEMORY;
    m_pInit->heRapiInit = m_hReady.Get();
    m_pInit->hrRapiInit = S_OK;
    m_hPinned = PinThisLibrary();
    m_hThread = CHandle(CreateThread(nullptr, 0, ConnectorThreadProc, this, 0, nullptr));
    if (!m_hThread.IsValid()) {
        FreeLibrary(m_hPinned);
        m_pInit->heRapiInit = nullptr;
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

DWORD WINAPI CRapiSession::ConnectorThreadProc(void* pParam)
{
    CRapiSession* pSession = static_cast<CRapiSession*>(pParam);
    HMODULE hPinned = pSession->m_hPinned;
    pSession->RunConnector();
    FreeLibraryAndExitThread(hPinned, 0);
}

void CRapiSession::RunConnector()
{
    do {
        CSocket link = ConnectOnce();
        HRESULT hr;
        if (link.IsValid() && ShakeHands(link.Get(), &hr)) {
            Publish(std::move(link), hr);
            return;
        }
    } while (WaitForSingleObject(m_hAbort.Get(), RETRY_INTERVAL_MS) == WAIT_TIMEOUT);
}

CSocket CRapiSession::ConnectOnce()
{
    CSocket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!s.IsValid() || !MakeNonBlocking(s.Get()))
        return CSocket();
    // Requests and replies are small and strictly alternate: no coalescing.
    BOOL bNoDelay = TRUE;
    setsockopt(s.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&bNoDelay), sizeof(bNoDelay));
    if (connect(s.Get(), reinterpret_cast<const sockaddr*>(&m_addr), sizeof(m_addr)) == 0)
        return s;
    if (WSAGetLastError() != WSAEWOULDBLOCK || WaitSocket(s.Get(), TRUE, CONNECT_TIMEOUT_MS, m_hAbort.Get()) != ioOk)
        return CSocket();
    int nError = 0;
    int cbError = sizeof(nError);
    if (getsockopt(s.Get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&nError), &cbError) != 0 || nError != 0)
        return CSocket();
    return s;
}

BOOL CRapiSession::ShakeHands(SOCKET s, HRESULT* phr)
{
    CWireWriter hello;
    hello.PutByte(RapiWire::opHello);
    hello.PutDword(RapiWire::HELLO_MAGIC);
    hello.PutDword(RapiWire::VERSION);
    if (SendFrame(s, hello, CALL_TIMEOUT_MS, m_hAbort.Get()) != ioOk)
        return FALSE;
    // A handheld may take its time to answer; only CeRapiUninit ends the wait.
    std::vector<BYTE> reply;
    if (RecvFrame(s, reply, RapiWire::MAX_REPLY_BYTES, INFINITE, CALL_TIMEOUT_MS, m_hAbort.Get()) != ioOk)
        return FALSE;
    if (!DecodeHelloReply(reply.data(), reply.size(), phr))
        *phr = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    return TRUE;
}

void CRapiSession::Publish(CSocket link, HRESULT hr)
{
    if (SUCCEEDED(hr)) {
        CLock lock(m_csLink);
        m_link = std::move(link);
    }
    m_pInit->hrRapiInit = hr;
    SetEvent(m_hReady.Get());
}

BOOL CRapiSession::Transact(const CWireWriter& request, std::vector<BYTE>& reply)
{
    CLock lock(m_csLink);
    if (!m_link.IsValid())
        return FALSE;
    // One bound for the whole call: sending the request and the reply.
    CDeadline deadline(CALL_TIMEOUT_MS);
    if (SendFrame(m_link.Get(), request, deadline.Remaining(), nullptr) == ioOk
        && RecvFrame(m_link.Get(), reply, RapiWire::MAX_REPLY_BYTES, deadline.Remaining(), INFINITE, nullptr) == ioOk)
        return TRUE;
    m_link.Close();
    return FALSE;
}

void CRapiSession::DropLink()
{
    CLock lock(m_csLink);
    m_link.Close();
}

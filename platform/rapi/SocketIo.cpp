#include "platform/rapi/SocketIo.h"

#include "platform/rapi/Deadline.h"

#include <algorithm>

namespace {
// How often a wait looks at the abort event.
constexpr DWORD ABORT_POLL_MS = 50;

BOOL IsSet(HANDLE hEvent)
{
    return hEvent && WaitForSingleObject(hEvent, 0) == WAIT_OBJECT_0;
}

// One select on the socket, for at most dwSliceMs (INFINITE: no limit).
int SelectOnce(SOCKET s, BOOL bWrite, DWORD dwSliceMs)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    fd_set except;
    FD_ZERO(&except);
    FD_SET(s, &except);
    timeval tv = { static_cast<long>(dwSliceMs / 1000), static_cast<long>(dwSliceMs % 1000) * 1000 };
    return select(0, bWrite ? nullptr : &set, bWrite ? &set : nullptr, &except, dwSliceMs == INFINITE ? nullptr : &tv);
}

BOOL IsWouldBlock()
{
    return WSAGetLastError() == WSAEWOULDBLOCK;
}
}   // namespace

BOOL MakeNonBlocking(SOCKET s)
{
    u_long nNonBlocking = 1;
    return ioctlsocket(s, FIONBIO, &nNonBlocking) == 0;
}

IoStatus WaitSocket(SOCKET s, BOOL bWrite, DWORD dwTimeout, HANDLE hAbort)
{
    CDeadline deadline(dwTimeout);
    for (;;) {
        if (IsSet(hAbort))
            return ioAborted;
        DWORD dwRemaining = deadline.Remaining();
        if (dwRemaining == 0)
            return ioTimedOut;
        DWORD dwSlice = hAbort && dwRemaining > ABORT_POLL_MS ? ABORT_POLL_MS : dwRemaining;
        int nReady = SelectOnce(s, bWrite, dwSlice);
        if (nReady == SOCKET_ERROR)
            return ioFailed;
        if (nReady > 0)
            return ioOk;
    }
}

IoStatus SendAll(SOCKET s, const BYTE* pData, size_t cb, DWORD dwTimeout, HANDLE hAbort)
{
    CDeadline deadline(dwTimeout);
    while (cb > 0) {
        int nChunk = cb > 0x40000000 ? 0x40000000 : static_cast<int>(cb);
        int nSent = send(s, reinterpret_cast<const char*>(pData), nChunk, 0);
        if (nSent == SOCKET_ERROR) {
            if (!IsWouldBlock())
                return ioFailed;
            IoStatus status = WaitSocket(s, TRUE, deadline.Remaining(), hAbort);
            if (status != ioOk)
                return status;
            continue;
        }
        pData += nSent;
        cb -= nSent;
    }
    return ioOk;
}

IoStatus RecvAll(SOCKET s, BYTE* pData, size_t cb, DWORD dwTimeout, HANDLE hAbort)
{
    CDeadline deadline(dwTimeout);
    while (cb > 0) {
        int nChunk = cb > 0x40000000 ? 0x40000000 : static_cast<int>(cb);
        int nReceived = recv(s, reinterpret_cast<char*>(pData), nChunk, 0);
        if (nReceived == 0)
            return ioClosed;
        if (nReceived == SOCKET_ERROR) {
            if (!IsWouldBlock())
                return WSAGetLastError() == WSAECONNRESET ? ioClosed : ioFailed;
            IoStatus status = WaitSocket(s, FALSE, deadline.Remaining(), hAbort);
            if (status != ioOk)
                return status;
            continue;
        }
        pData += nReceived;
        cb -= nReceived;
    }
    return ioOk;
}

CWireWriter FrameOf(const CWireWriter& body)
{
    CWireWriter frame;
    frame.PutDword(static_cast<DWORD>(body.Bytes().size()));
    frame.PutBytes(body.Bytes().data(), body.Bytes().size());
    return frame;
}

IoStatus SendFrame(SOCKET s, const CWireWriter& body, DWORD dwTimeout, HANDLE hAbort)
{
    const CWireWriter frame = FrameOf(body);
    return SendAll(s, frame.Bytes().data(), frame.Bytes().size(), dwTimeout, hAbort);
}

IoStatus RecvFrame(SOCKET s, std::vector<BYTE>& body, DWORD cbMax, DWORD dwTimeout, DWORD dwRestTimeout, HANDLE hAbort)
{
    CDeadline whole(dwTimeout);
    IoStatus status = WaitSocket(s, FALSE, whole.Remaining(), hAbort);
    if (status != ioOk)
        return status;
    // A frame that starts late and then trickles in must still end within
    // the whole bound: the rest gets what is left of it, at most its own.
    CDeadline rest(dwRestTimeout);
    const auto remaining = [&whole, &rest] { return std::min(whole.Remaining(), rest.Remaining()); };
    BYTE header[4];
    status = RecvAll(s, header, sizeof(header), remaining(), hAbort);
    if (status != ioOk)
        return status;
    DWORD cbBody = CWireReader(header, sizeof(header)).GetDword();
    if (cbBody == 0 || cbBody > cbMax)
        return ioFailed;
    body.resize(cbBody);
    return RecvAll(s, body.data(), cbBody, remaining(), hAbort);
}

// Transfers of whole buffers and whole frames over a non-blocking socket,
// each bounded by a timeout and, when an abort event is given, ended early
// once that event is set.
#pragma once

#include "platform/rapi/RapiWire.h"

#include <winsock2.h>
#include <windows.h>
#include <vector>

enum IoStatus
{
    ioOk,
    ioClosed,   // the peer closed the connection
    ioTimedOut,
    ioAborted,   // the abort event was set
    ioFailed,    // a socket error, or a frame of a size the protocol forbids
};

BOOL MakeNonBlocking(SOCKET s);
// Waits until the socket is writable (bWrite) or readable; INFINITE allowed.
IoStatus WaitSocket(SOCKET s, BOOL bWrite, DWORD dwTimeout, HANDLE hAbort);

IoStatus SendAll(SOCKET s, const BYTE* pData, size_t cb, DWORD dwTimeout, HANDLE hAbort);
IoStatus RecvAll(SOCKET s, BYTE* pData, size_t cb, DWORD dwTimeout, HANDLE hAbort);

// A frame is a 32-bit little-endian body length followed by the body.
CWireWriter FrameOf(const CWireWriter& body);
IoStatus SendFrame(SOCKET s, const CWireWriter& body, DWORD dwTimeout, HANDLE hAbort);
// dwTimeout bounds the whole frame from now (INFINITE: only the abort event
// ends the wait for it to begin); dwRestTimeout bounds the rest of it once
// it has begun. A body empty or longer than cbMax fails.
IoStatus RecvFrame(SOCKET s, std::vector<BYTE>& body, DWORD cbMax, DWORD dwTimeout, DWORD dwRestTimeout, HANDLE hAbort);

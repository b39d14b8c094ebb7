#include "platform/rapi/emulator/HandheldSockets.h"

#include <algorithm>

namespace {
sockaddr_in AddressOf(const std::string& strAddress, WORD nPort)
{
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = inet_addr(strAddress.c_str());
    addr.sin_port = htons(nPort);
    return addr;
}

CSocket Bound(int nType, int nProtocol, const std::string& strAddress, WORD nPort)
{
    CSocket s(socket(AF_INET, nType, nProtocol));
    sockaddr_in addr = AddressOf(strAddress, nPort);
    if (!s.IsValid() || bind(s.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0)
        return CSocket();
    return s;
}
}   // namespace

CSocket ListenTcp(const std::string& strAddress, WORD nPort)
{
    CSocket listener = Bound(SOCK_STREAM, IPPROTO_TCP, strAddress, nPort);
    if (!listener.IsValid() || listen(listener.Get(), SOMAXCONN) != 0)
        return CSocket();
    return listener;
}

CSocket BindUdp(const std::string& strAddress, WORD nPort)
{
    return Bound(SOCK_DGRAM, IPPROTO_UDP, strAddress, nPort);
}

CSocket ConnectTcp(const std::string& strLocal, const std::string& strRemote, WORD nPort, DWORD dwTimeout)
{
    CSocket link = Bound(SOCK_STREAM, IPPROTO_TCP, strLocal, 0);
    sockaddr_in remote = AddressOf(strRemote, nPort);
    if (!link.IsValid() || !PrepareLink(link.Get()))
        return CSocket();
    if (connect(link.Get(), reinterpret_cast<sockaddr*>(&remote), sizeof(remote)) != 0
        && WSAGetLastError() != WSAEWOULDBLOCK)
        return CSocket();
    int nError = 0;
    int cbError = sizeof(nError);
    if (WaitSocket(link.Get(), TRUE, dwTimeout, nullptr) != ioOk
        || getsockopt(link.Get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&nError), &cbError) != 0 || nError != 0)
        return CSocket();
    return link;
}

bool PrepareLink(SOCKET s)
{
    BOOL bNoDelay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&bNoDelay), sizeof(bNoDelay));
    return MakeNonBlocking(s) != FALSE;
}

WORD PortOf(SOCKET s)
{
    sockaddr_in addr = {};
    int cbAddr = sizeof(addr);
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &cbAddr);
    return ntohs(addr.sin_port);
}

IoStatus ReceiveSome(SOCKET s, std::vector<std::uint8_t>& bytes, DWORD dwTimeout)
{
    IoStatus status = WaitSocket(s, FALSE, dwTimeout, nullptr);
    if (status != ioOk)
        return status;
    bytes.resize(0x10000);
    int cb = recv(s, reinterpret_cast<char*>(bytes.data()), static_cast<int>(bytes.size()), 0);
    if (cb <= 0) {
        bytes.clear();
        return cb == 0 ? ioClosed : ioFailed;
    }
    bytes.resize(cb);
    return ioOk;
}

IoStatus SendBytes(SOCKET s, const std::vector<std::uint8_t>& bytes, DWORD dwTimeout)
{
    return bytes.empty() ? ioOk : SendAll(s, bytes.data(), bytes.size(), dwTimeout, nullptr);
}

IoStatus SendPaced(SOCKET s, const std::uint8_t* p, size_t cb, const CLinkFaults& faults, DWORD dwTimeout)
{
    const size_t cbSlice = faults.SliceBytes();
    for (size_t nOffset = 0; nOffset < cb; nOffset += cbSlice) {
        const size_t cbNow = std::min(cbSlice, cb - nOffset);
        faults.PaceTransfer(cbNow);
        const IoStatus status = SendAll(s, p + nOffset, cbNow, dwTimeout, nullptr);
        if (status != ioOk)
            return status;
    }
    return ioOk;
}

void StaySilent(SOCKET s)
{
    std::vector<std::uint8_t> received;
    while (ReceiveSome(s, received, INFINITE) == ioOk)
        received.clear();
}

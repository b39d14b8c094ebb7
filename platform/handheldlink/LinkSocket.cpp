#include "platform/handheldlink/LinkSocket.h"

#include "platform/handheldlink/Deadline.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace handheldlink {
namespace {
#ifdef _WIN32
// Winsock is started once for the process, before the first socket, and
// never cleaned up: inside a DLL the cleanup would run at its unload, under
// the loader lock, where WSACleanup must not be called. The one reference
// left open ends with the process.
void EnsureStarted()
{
    static const bool s_bStarted = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)s_bStarted;
}

int LastError()
{
    return WSAGetLastError();
}

bool IsInProgress(int nError)
{
    return nError == WSAEWOULDBLOCK;
}

void CloseHandleOf(SocketHandle s)
{
    closesocket(static_cast<SOCKET>(s));
}

void MakeNonBlocking(SocketHandle s)
{
    u_long nOn = 1;
    ioctlsocket(static_cast<SOCKET>(s), FIONBIO, &nOn);
}

constexpr int SEND_FLAGS = 0;
constexpr int SHUTDOWN_BOTH = SD_BOTH;
#else
void EnsureStarted() {}

int LastError()
{
    return errno;
}

bool IsInProgress(int nError)
{
    return nError == EINPROGRESS;
}

void CloseHandleOf(SocketHandle s)
{
    close(s);
}

void MakeNonBlocking(SocketHandle s)
{
    fcntl(s, F_SETFL, fcntl(s, F_GETFL, 0) | O_NONBLOCK);
}

// A peer gone mid-send is an error to report, not a signal to die of.
constexpr int SEND_FLAGS = MSG_NOSIGNAL;
constexpr int SHUTDOWN_BOTH = SHUT_RDWR;
#endif

bool AddressOf(const std::string& strAddress, std::uint16_t nPort, sockaddr_in& addr)
{
    addr = sockaddr_in{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(nPort);
#ifdef _WIN32
    // The systems this builds for lack inet_pton; the broadcast address is
    // never one to connect to or listen on.
    addr.sin_addr.s_addr = inet_addr(strAddress.c_str());
    return addr.sin_addr.s_addr != INADDR_NONE;
#else
    return inet_pton(AF_INET, strAddress.c_str(), &addr.sin_addr) == 1;
#endif
}

SocketHandle NewSocket(int nType)
{
    EnsureStarted();
    return static_cast<SocketHandle>(socket(AF_INET, nType, 0));
}
}   // namespace

CLinkSocket::CLinkSocket(CLinkSocket&& other) noexcept : m_s(other.m_s)
{
    other.m_s = INVALID;
}

CLinkSocket& CLinkSocket::operator=(CLinkSocket&& other) noexcept
{
    if (this != &other) {
        Close();
        m_s = other.m_s;
        other.m_s = INVALID;
    }
    return *this;
}

CLinkSocket CLinkSocket::Listen(const std::string& strAddress, std::uint16_t nPort, int* pnError)
{
    sockaddr_in addr;
    CLinkSocket s(NewSocket(SOCK_STREAM));
    if (!s.IsValid() || !AddressOf(strAddress, nPort, addr))
        return CLinkSocket();
#ifndef _WIN32
    // A port left in TIME_WAIT by a link that just stopped is taken again at
    // once. Windows binds past TIME_WAIT as it is, and there the option
    // would let a second listener share the port.
    const int nOn = 1;
    setsockopt(s.m_s, SOL_SOCKET, SO_REUSEADDR, &nOn, sizeof(nOn));
#endif
    if (bind(s.m_s, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0 || listen(s.m_s, 16) != 0) {
        if (pnError)
            *pnError = LastError();
        return CLinkSocket();
    }
    MakeNonBlocking(s.m_s);
    return s;
}

CLinkSocket CLinkSocket::Connect(const std::string& strAddress, std::uint16_t nPort, std::uint32_t msTimeout)
{
    sockaddr_in addr;
    CLinkSocket s(NewSocket(SOCK_STREAM));
    if (!s.IsValid() || !AddressOf(strAddress, nPort, addr))
        return CLinkSocket();
    MakeNonBlocking(s.m_s);
    if (connect(s.m_s, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0
        && (!IsInProgress(LastError()) || !s.WaitReady(true, msTimeout)))
        return CLinkSocket();
    int nError = 0;
    socklen_t cbError = sizeof(nError);
    if (getsockopt(s.m_s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&nError), &cbError) != 0 || nError != 0)
        return CLinkSocket();
    // Requests and replies strictly alternate: no coalescing.
    const int nOn = 1;
    setsockopt(s.m_s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&nOn), sizeof(nOn));
    return s;
}

bool CLinkSocket::SendDatagram(const std::string& strAddress, std::uint16_t nPort, const std::uint8_t* p,
                               std::size_t cb)
{
    sockaddr_in addr;
    CLinkSocket s(NewSocket(SOCK_DGRAM));
    return s.IsValid() && AddressOf(strAddress, nPort, addr)
           && sendto(s.m_s, reinterpret_cast<const char*>(p), static_cast<int>(cb), 0,
                     reinterpret_cast<const sockaddr*>(&addr), sizeof(addr))
                  == static_cast<int>(cb);
}

std::uint16_t CLinkSocket::LocalPort() const
{
    sockaddr_in addr{};
    socklen_t cb = sizeof(addr);
    if (getsockname(m_s, reinterpret_cast<sockaddr*>(&addr), &cb) != 0)
        return 0;
    return ntohs(addr.sin_port);
}

CLinkSocket CLinkSocket::Accept(std::uint32_t msTimeout) const
{
    if (!WaitReady(false, msTimeout))
        return CLinkSocket();
    CLinkSocket s(static_cast<SocketHandle>(accept(m_s, nullptr, nullptr)));
    if (s.IsValid()) {
        MakeNonBlocking(s.m_s);
        const int nOn = 1;
        setsockopt(s.m_s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&nOn), sizeof(nOn));
    }
    return s;
}

bool CLinkSocket::SendAll(const std::uint8_t* p, std::size_t cb, std::uint32_t msTimeout) const
{
    const LinkClock::time_point deadline = DeadlineAfter(msTimeout);
    while (cb > 0) {
        if (!WaitReady(true, MillisecondsUntil(deadline)))
            return false;
        const auto cbSent = send(m_s, reinterpret_cast<const char*>(p), static_cast<int>(cb), SEND_FLAGS);
        if (cbSent <= 0)
            return false;
        p += cbSent;
        cb -= static_cast<std::size_t>(cbSent);
    }
    return true;
}

bool CLinkSocket::ReceiveExactly(std::uint8_t* p, std::size_t cb, std::uint32_t msTimeout) const
{
    const LinkClock::time_point deadline = DeadlineAfter(msTimeout);
    while (cb > 0) {
        const long cbGot = ReceiveSome(p, cb, MillisecondsUntil(deadline));
        if (cbGot <= 0)
            return false;
        p += cbGot;
        cb -= static_cast<std::size_t>(cbGot);
    }
    return true;
}

long CLinkSocket::ReceiveSome(std::uint8_t* p, std::size_t cb, std::uint32_t msTimeout) const
{
    if (!WaitReady(false, msTimeout))
        return 0;
    const auto cbGot = recv(m_s, reinterpret_cast<char*>(p), static_cast<int>(cb), 0);
    return cbGot > 0 ? static_cast<long>(cbGot) : -1;
}

bool CLinkSocket::WaitReadable(std::uint32_t msTimeout) const
{
    return WaitReady(false, msTimeout);
}

void CLinkSocket::Shutdown() const
{
    if (IsValid())
        shutdown(m_s, SHUTDOWN_BOTH);
}

void CLinkSocket::Close()
{
    if (IsValid())
        CloseHandleOf(m_s);
    m_s = INVALID;
}

#ifdef _WIN32
bool CLinkSocket::WaitReady(bool bWrite, std::uint32_t msTimeout) const
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(static_cast<SOCKET>(m_s), &set);
    fd_set failed = set;
    timeval limit = { static_cast<long>(msTimeout / 1000), static_cast<long>(msTimeout % 1000) * 1000 };
    const int nReady = select(0, bWrite ? nullptr : &set, bWrite ? &set : nullptr, &failed, &limit);
    return nReady > 0 && FD_ISSET(static_cast<SOCKET>(m_s), &set);
}
#else
bool CLinkSocket::WaitReady(bool bWrite, std::uint32_t msTimeout) const
{
    const LinkClock::time_point deadline = DeadlineAfter(msTimeout);
    pollfd fd = { m_s, static_cast<short>(bWrite ? POLLOUT : POLLIN), 0 };
    for (;;) {
        const int nReady = poll(&fd, 1, static_cast<int>(MillisecondsUntil(deadline)));
        if (nReady > 0)
            return true;
        if (nReady == 0 || errno != EINTR)
            return false;
    }
}
#endif

}   // namespace handheldlink

// One TCP or UDP socket of the link, closed with its owner. Every wait is
// bounded: accepting, connecting, sending and receiving each take a time
// limit in milliseconds, so a silent peer never holds a thread for good.
// POSIX sockets on the host, winsock on Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace handheldlink {

#ifdef _WIN32
using SocketHandle = std::uintptr_t;
#else
using SocketHandle = int;
#endif

class CLinkSocket
{
public:
    CLinkSocket() = default;
    ~CLinkSocket() { Close(); }
    CLinkSocket(CLinkSocket&& other) noexcept;
    CLinkSocket& operator=(CLinkSocket&& other) noexcept;
    CLinkSocket(const CLinkSocket&) = delete;
    CLinkSocket& operator=(const CLinkSocket&) = delete;

    // A listening TCP socket on an IPv4 address; port 0 lets the system
    // choose. nError holds the system's error code when it fails.
    static CLinkSocket Listen(const std::string& strAddress, std::uint16_t nPort, int* pnError = nullptr);
    static CLinkSocket Connect(const std::string& strAddress, std::uint16_t nPort, std::uint32_t msTimeout);
    // One datagram from a fresh UDP socket.
    static bool SendDatagram(const std::string& strAddress, std::uint16_t nPort, const std::uint8_t* p, std::size_t cb);

    bool IsValid() const { return m_s != INVALID; }
    std::uint16_t LocalPort() const;
    // An accepted connection, or an invalid socket when none came in time.
    CLinkSocket Accept(std::uint32_t msTimeout) const;
    bool SendAll(const std::uint8_t* p, std::size_t cb, std::uint32_t msTimeout) const;
    // Exactly cb bytes, all within msTimeout; false on timeout, error or end.
    bool ReceiveExactly(std::uint8_t* p, std::size_t cb, std::uint32_t msTimeout) const;
    // At most cb bytes once some are there; 0 on timeout, -1 on error or end.
    long ReceiveSome(std::uint8_t* p, std::size_t cb, std::uint32_t msTimeout) const;
    // True when something (data or the peer's end) waits to be read.
    bool WaitReadable(std::uint32_t msTimeout) const;
    // Ends both directions, so that a thread waiting on the socket wakes.
    void Shutdown() const;
    void Close();

private:
    explicit CLinkSocket(SocketHandle s) : m_s(s) {}
    bool WaitReady(bool bWrite, std::uint32_t msTimeout) const;

#ifdef _WIN32
    static constexpr SocketHandle INVALID = ~static_cast<SocketHandle>(0);
#else
    static constexpr SocketHandle INVALID = -1;
#endif
    SocketHandle m_s = INVALID;
};

}   // namespace handheldlink

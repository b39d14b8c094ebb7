// The PC's end of a connection with the emulated handheld, every wait
// bounded so that a handheld that never answers fails a test instead of
// hanging it: listening on a loopback port of the system's choosing,
// connecting, sending, and taking what arrives.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

class CTestLink
{
public:
    CTestLink() = default;
    explicit CTestLink(SOCKET s) : m_s(s) {}
    ~CTestLink();
    CTestLink(CTestLink&& other) noexcept : m_s(other.m_s) { other.m_s = INVALID_SOCKET; }
    CTestLink& operator=(CTestLink&& other) noexcept;
    CTestLink(const CTestLink&) = delete;
    CTestLink& operator=(const CTestLink&) = delete;

    static CTestLink Listen(const std::string& strAddress);
    static CTestLink Connect(const std::string& strAddress, WORD nPort);
    static bool SendDatagram(const std::string& strAddress, WORD nPort, std::uint8_t nByte);

    bool IsValid() const { return m_s != INVALID_SOCKET; }
    WORD Port() const;
    // An accepted connection, or an invalid link when none came in time.
    CTestLink Accept(DWORD dwTimeout) const;
    bool Send(const std::vector<std::uint8_t>& bytes) const;
    // At least one byte; false when nothing came in time or the peer closed.
    bool ReceiveSome(std::vector<std::uint8_t>& bytes, DWORD dwTimeout) const;
    bool ReceiveExactly(std::size_t cb, std::vector<std::uint8_t>& bytes, DWORD dwTimeout) const;
    // True when the peer closes (or resets) within dwTimeout, whatever it sends first.
    bool IsClosedWithin(DWORD dwTimeout) const;

private:
    bool WaitReadable(DWORD dwTimeout) const;

    SOCKET m_s = INVALID_SOCKET;
};

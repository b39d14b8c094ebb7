// Owners of the winsock library and of one socket.
#pragma once

#include <winsock2.h>
#include <windows.h>

class CWinsock
{
public:
    CWinsock()
    {
        WSADATA wsa;
        m_bReady = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
    }
    ~CWinsock()
    {
        if (m_bReady)
            WSACleanup();
    }
    CWinsock(const CWinsock&) = delete;
    CWinsock& operator=(const CWinsock&) = delete;

    BOOL IsReady() const { return m_bReady; }

private:
    BOOL m_bReady;
};

class CSocket
{
public:
    CSocket() = default;
    explicit CSocket(SOCKET s) : m_s(s) {}
    ~CSocket() { Close(); }
    CSocket(CSocket&& other) noexcept : m_s(other.Detach()) {}
    CSocket& operator=(CSocket&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_s = other.Detach();
        }
        return *this;
    }
    CSocket(const CSocket&) = delete;
    CSocket& operator=(const CSocket&) = delete;

    SOCKET Get() const { return m_s; }
    BOOL IsValid() const { return m_s != INVALID_SOCKET; }
    SOCKET Detach()
    {
        SOCKET s = m_s;
        m_s = INVALID_SOCKET;
        return s;
    }
    void Close()
    {
        if (m_s != INVALID_SOCKET)
            closesocket(m_s);
        m_s = INVALID_SOCKET;
    }

private:
    SOCKET m_s = INVALID_SOCKET;
};

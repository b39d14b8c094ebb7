#include "tests/platform/rapi/handheld/TestLink.h"

namespace {
sockaddr_in AddressOf(const std::string& strAddress, WORD nPort)
{
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = inet_addr(strAddress.c_str());
    addr.sin_port = htons(nPort);
    return addr;
}

struct WinsockForTests
{
    WinsockForTests()
    {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
    }
    ~WinsockForTests() { WSACleanup(); }
};

SOCKET NewSocket(int nType, int nProtocol)
{
    static WinsockForTests s_winsock;
    return socket(AF_INET, nType, nProtocol);
}
}   // namespace

CTestLink::~CTestLink()
{
    if (m_s != INVALID_SOCKET)
        closesocket(m_s);
}

CTestLink& CTestLink::operator=(CTestLink&& other) noexcept
{
    if (this != &other) {
        if (m_s != INVALID_SOCKET)
            closesocket(m_s);
        m_s = other.m_s;
        other.m_s = INVALID_SOCKET;
    }
    return *this;
}

CTestLink CTestLink::Listen(const std::string& strAddress)
{
    CTestLink link(NewSocket(SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in addr = AddressOf(strAddress, 0);
    if (bind(link.m_s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(link.m_s, SOMAXCONN) != 0)
        return CTestLink();
    return link;
}

CTestLink CTestLink::Connect(const std::string& strAddress, WORD nPort)
{
    CTestLink link(NewSocket(SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in addr = AddressOf(strAddress, nPort);
    if (connect(link.m_s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0)
        return CTestLink();
    return link;
}

bool CTestLink::SendDatagram(const std::string& strAddress, WORD nPort, std::uint8_t nByte)
{
    CTestLink link(NewSocket(SOCK_DGRAM, IPPROTO_UDP));
    sockaddr_in addr = AddressOf(strAddress, nPort);
    const char ch = static_cast<char>(nByte);
    return sendto(link.m_s, &ch, 1, 0, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 1;
}

WORD CTestLink::Port() const
{
    sockaddr_in addr = {};
    int cbAddr = sizeof(addr);
    getsockname(m_s, reinterpret_cast<sockaddr*>(&addr), &cbAddr);
    return ntohs(addr.sin_port);
}

bool CTestLink::WaitReadable(DWORD dwTimeout) const
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(m_s, &set);
    timeval tv = { static_cast<long>(dwTimeout / 1000), static_cast<long>(dwTimeout % 1000) * 1000 };
    return select(0, &set, nullptr, nullptr, &tv) == 1;
}

CTestLink CTestLink::Accept(DWORD dwTimeout) const
{
    return WaitReadable(dwTimeout) ? CTestLink(accept(m_s, nullptr, nullptr)) : CTestLink();
}

bool CTestLink::Send(const std::vector<std::uint8_t>& bytes) const
{
    return bytes.empty()
           || send(m_s, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()), 0)
                  == static_cast<int>(bytes.size());
}

bool CTestLink::ReceiveSome(std::vector<std::uint8_t>& bytes, DWORD dwTimeout) const
{
    bytes.assign(0x10000, 0);
    const int cb = WaitReadable(dwTimeout) ? recv(m_s, reinterpret_cast<char*>(bytes.data()), 0x10000, 0) : -1;
    bytes.resize(cb > 0 ? cb : 0);
    return cb > 0;
}

bool CTestLink::ReceiveExactly(std::size_t cb, std::vector<std::uint8_t>& bytes, DWORD dwTimeout) const
{
    bytes.assign(cb, 0);
    for (std::size_t nGot = 0; nGot < cb;) {
        const int n = WaitReadable(dwTimeout)
                          ? recv(m_s, reinterpret_cast<char*>(bytes.data() + nGot), static_cast<int>(cb - nGot), 0)
                          : -1;
        if (n <= 0)
            return false;
        nGot += n;
    }
    return true;
}

bool CTestLink::IsClosedWithin(DWORD dwTimeout) const
{
    const DWORD dwStart = GetTickCount();
    char buffer[4096];
    while (GetTickCount() - dwStart < dwTimeout) {
        if (!WaitReadable(dwTimeout - (GetTickCount() - dwStart)))
            return false;
        if (recv(m_s, buffer, sizeof(buffer), 0) <= 0)
            return true;
    }
    return false;
}

// The stand-in library's side of the loopback protocol, as the tests play
// it: requests encoded by hand, replies read with a bound.
#pragma once

#include "platform/handheldlink/LinkSocket.h"

#include <cstdint>
#include <string>
#include <vector>

struct PrivateReply
{
    std::uint32_t dwResult = 0, dwError = 0;
    std::vector<std::uint8_t> rest;   // after result and error
};

class CStandInClient
{
public:
    explicit CStandInClient(std::uint16_t nPort);

    bool IsConnected() const { return m_link.IsValid(); }
    // False when no complete reply came within msWait.
    bool Request(const std::vector<std::uint8_t>& body, PrivateReply& reply, std::uint32_t msWait = 5000);
    // Sends bytes as they are, framing included.
    bool SendRaw(const std::vector<std::uint8_t>& bytes);
    // True when the bridge closes the connection within msWait.
    bool IsClosedWithin(std::uint32_t msWait);

    static std::vector<std::uint8_t> Hello();
    static std::vector<std::uint8_t> FindAll(std::uint32_t dwFlags, const std::u16string& strPattern);
    static std::vector<std::uint8_t> Create(const std::u16string& strPath);
    static std::vector<std::uint8_t> Write(std::uint32_t hFile, const std::vector<std::uint8_t>& data);
    static std::vector<std::uint8_t> Close(std::uint32_t hFile);
    static std::vector<std::uint8_t> Delete(const std::u16string& strPath);

private:
    handheldlink::CLinkSocket m_link;
};

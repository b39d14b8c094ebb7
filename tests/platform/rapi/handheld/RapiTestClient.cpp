#include "tests/platform/rapi/handheld/RapiTestClient.h"

bool CRapiTestClient::Call(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply)
{
    std::vector<std::uint8_t> payload;
    return RawCall(handheldwire::EncodeRequest(request, m_version), payload)
           && handheldwire::DecodeReply(request.call, request.dwFlags, payload.data(), payload.size(), m_version,
                                        reply);
}

bool CRapiTestClient::RawCall(const std::vector<std::uint8_t>& payload, std::vector<std::uint8_t>& reply)
{
    if (!m_link.Send(handheldwire::MakeFrame(payload)))
        return false;
    std::vector<std::uint8_t> received;
    while (!m_assembler.Next(reply)) {
        if (m_assembler.IsRefused() || !m_link.ReceiveSome(received, REPLY_TIMEOUT_MS))
            return false;
        m_assembler.Feed(received.data(), received.size());
    }
    return true;
}

#include "platform/handheldlink/RapiClient.h"

#include "platform/handheldlink/Deadline.h"

namespace handheldlink {
namespace {
std::uint32_t U32Of(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
}   // namespace

CRapiClient::CRapiClient(CLinkSocket session, handheldwire::RapiVersion version, std::uint32_t msCallBound)
    : m_session(std::move(session)), m_version(version), m_msCallBound(msCallBound)
{
}

bool CRapiClient::Call(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply)
{
    if (IsBroken())
        return false;
    if (Exchange(request, reply))
        return true;
    m_session.Close();
    return false;
}

// One bound for the whole call: the request out and the reply back.
bool CRapiClient::Exchange(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply)
{
    const LinkClock::time_point deadline = DeadlineAfter(m_msCallBound);
    const auto left = [&deadline] { return MillisecondsUntil(deadline); };
    const std::vector<std::uint8_t> frame = handheldwire::MakeFrame(handheldwire::EncodeRequest(request, m_version));
    std::uint8_t length[4];
    if (!m_session.SendAll(frame.data(), frame.size(), left()) || !m_session.ReceiveExactly(length, 4, left()))
        return false;
    const std::uint32_t cb = U32Of(length);
    if (cb == 0 || cb > handheldwire::MAX_FRAME_PAYLOAD)
        return false;
    std::vector<std::uint8_t> payload(cb);
    return m_session.ReceiveExactly(payload.data(), cb, left())
           && handheldwire::DecodeReply(request.call, request.dwFlags, payload.data(), cb, m_version, reply);
}

}   // namespace handheldlink

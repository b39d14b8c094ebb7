// A remote-API session on the handheld over one connected socket: one call
// is one request frame out and one reply frame back within a bound. The
// first failure (the socket, a frame of a forbidden size, a reply that does
// not decode) closes the socket: the byte stream can no longer be trusted,
// so every later call fails at once.
#pragma once

#include "platform/handheldlink/LinkSocket.h"
#include "platform/handheldwire/RapiCalls.h"

#include <cstdint>

namespace handheldlink {

class CRapiClient
{
public:
    CRapiClient(CLinkSocket session, handheldwire::RapiVersion version, std::uint32_t msCallBound);

    bool Call(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply);
    bool IsBroken() const { return !m_session.IsValid(); }
    handheldwire::RapiVersion Version() const { return m_version; }

private:
    bool Exchange(const handheldwire::RapiRequest& request, handheldwire::RapiReply& reply);

    CLinkSocket m_session;
    handheldwire::RapiVersion m_version;
    std::uint32_t m_msCallBound;
};

}   // namespace handheldlink

// What the bridge needs of a handheld: a remote-API session on request,
// and word of whether the link that session came through still stands.
#pragma once

#include "platform/handheldlink/LinkSocket.h"
#include "platform/handheldwire/Frames.h"

#include <cstdint>

namespace handheldlink {

class IHandheldLink
{
public:
    virtual ~IHandheldLink() = default;
    // A new session, within the link's wait bound; false when no handheld
    // is there and unlocked in that time. nGeneration names the control
    // connection the session came through.
    virtual bool OpenSession(CLinkSocket& session, handheldwire::RapiVersion& version, std::uint64_t& nGeneration) = 0;
    // False once that control connection is gone.
    virtual bool IsAlive(std::uint64_t nGeneration) const = 0;
    // A handheld is there and unlocked.
    virtual bool IsConnected() const = 0;
    // A session is wanted: a handheld whose user gave up on its password
    // is asked for it again.
    virtual void SessionWanted() = 0;
};

}   // namespace handheldlink

// Both kinds of handheld waited for at once: a session goes through the
// link whose handheld is connected, the USB one first.
#pragma once

#include "platform/handheldlink/HandheldLink.h"

#include <cstdint>

class CEitherLink : public handheldlink::IHandheldLink
{
public:
    CEitherLink(handheldlink::IHandheldLink& usb, handheldlink::IHandheldLink& legacy, std::uint32_t msSessionWait)
        : m_links{ &usb, &legacy }, m_msSessionWait(msSessionWait)
    {
    }

    bool OpenSession(handheldlink::CLinkSocket& session, handheldwire::RapiVersion& version,
                     std::uint64_t& nGeneration) override;
    // The generation carries which link it came from in its lowest bit.
    bool IsAlive(std::uint64_t nGeneration) const override;
    bool IsConnected() const override;
    // Passed on to both links.
    void SessionWanted() override;

private:
    handheldlink::IHandheldLink* m_links[2];
    std::uint32_t m_msSessionWait;
};

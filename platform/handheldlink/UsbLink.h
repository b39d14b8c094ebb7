// The PC side of a USB handheld (OS 5.x): sends the trigger datagram until
// the device connects to the control port, runs its control connection,
// and opens a session by asking for it there and taking the device's new
// connection on the session port that carries the matching id.
#pragma once

#include "platform/handheldlink/ControlLink.h"
#include "platform/handheldwire/UsbControl.h"

namespace handheldlink {

class CUsbLink final : public CControlLink<handheldwire::CUsbControlPc>
{
public:
    CUsbLink(const LinkSettings& settings, IPasswordSource& passwords);
    ~CUsbLink() override;

    // Listens on the control and session ports and starts the link; false
    // when a port cannot be bound (nError: the system's error code).
    bool Start(int& nError);
    // The port bound, also when the settings let the system choose.
    std::uint16_t ControlPort() const { return m_controlListener.LocalPort(); }

private:
    CLinkSocket AwaitControl(std::uint32_t msWait) override;
    void AskToUnlock(bool bRetry) override;
    bool ConnectSession(CLinkSocket& session, LinkClock::time_point deadline) override;
    const CLinkSocket& SessionListener() const;

    CLinkSocket m_controlListener;
    CLinkSocket m_sessionListener;   // only when the session port is a port of its own
    LinkClock::time_point m_nextTrigger;
    bool m_bNoticeShown = false;
};

}   // namespace handheldlink

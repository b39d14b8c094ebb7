// The PC side of a legacy handheld (OS 4.x and earlier): takes the
// device's control connection on the control port, and opens a session by
// connecting to the device's session port, with the password step first
// when the device is locked.
#pragma once

#include "platform/handheldlink/ControlLink.h"
#include "platform/handheldwire/LegacyControl.h"

namespace handheldlink {

class CLegacyLink final : public CControlLink<handheldwire::CLegacyControlPc>
{
public:
    CLegacyLink(const LinkSettings& settings, IPasswordSource& passwords);
    ~CLegacyLink() override;

    // Listens on the control port and starts the link; false when it
    // cannot be bound (nError: the system's error code).
    bool Start(int& nError);
    // The port bound, also when the settings let the system choose.
    std::uint16_t ControlPort() const { return m_controlListener.LocalPort(); }

private:
    CLinkSocket AwaitControl(std::uint32_t msWait) override;
    bool ConnectSession(CLinkSocket& session, LinkClock::time_point deadline) override;

    CLinkSocket m_controlListener;
};

}   // namespace handheldlink

#include "platform/handheldlink/UsbLink.h"

#include <algorithm>

namespace handheldlink {
namespace {
constexpr std::uint8_t TRIGGER = 0x7F;
// The trigger is a datagram and may be lost: it goes again this often
// until the device connects.
constexpr std::uint32_t TRIGGER_INTERVAL_MS = 2000;
// A connection on the session port sends its id at once.
constexpr std::uint32_t SESSION_ID_WAIT_MS = 2000;
// The wait for the device to connect back looks at the stop flag this often,
// so that stopping the link never waits out a session's whole bound.
constexpr std::uint32_t STOP_CHECK_MS = 200;
}   // namespace

CUsbLink::CUsbLink(const LinkSettings& settings, IPasswordSource& passwords) : CControlLink(settings, passwords) {}

CUsbLink::~CUsbLink()
{
    Stop();
}

bool CUsbLink::Start(int& nError)
{
    m_controlListener = CLinkSocket::Listen(m_settings.strPcAddress, m_settings.nControlPort, &nError);
    if (!m_controlListener.IsValid())
        return false;
    if (m_settings.nSessionPort != m_settings.nControlPort) {
        m_sessionListener = CLinkSocket::Listen(m_settings.strPcAddress, m_settings.nSessionPort, &nError);
        if (!m_sessionListener.IsValid())
            return false;
    }
    m_nextTrigger = LinkClock::now();
    StartThread();
    return true;
}

const CLinkSocket& CUsbLink::SessionListener() const
{
    return m_sessionListener.IsValid() ? m_sessionListener : m_controlListener;
}

CLinkSocket CUsbLink::AwaitControl(std::uint32_t msWait)
{
    if (LinkClock::now() >= m_nextTrigger) {
        CLinkSocket::SendDatagram(m_settings.strDeviceAddress, m_settings.nTriggerPort, &TRIGGER, 1);
        m_nextTrigger = DeadlineAfter(TRIGGER_INTERVAL_MS);
    }
    m_bNoticeShown = false;
    return m_controlListener.Accept(msWait);
}

void CUsbLink::AskToUnlock(bool bRetry)
{
    bool bOnDevice;
    {
        std::lock_guard<std::mutex> lock(m_cs);
        bOnDevice = m_machine.Info().dwPasswordKey == handheldwire::PASSWORD_ON_DEVICE;
        if (bOnDevice) {
            m_machine.RequestUnlock();
            SendQueuedLocked();
        }
    }
    if (!bOnDevice)
        return CControlLink::AskToUnlock(bRetry);
    if (!m_bNoticeShown)
        m_passwords.ShowUnlockNotice();
    m_bNoticeShown = true;
}

// Connections on the session port that do not carry the id asked for are
// left from requests given up on, and closed.
bool CUsbLink::ConnectSession(CLinkSocket& session, LinkClock::time_point deadline)
{
    std::uint32_t nId;
    {
        std::lock_guard<std::mutex> lock(m_cs);
        nId = m_machine.RequestSession();
        if (nId == 0 || !SendQueuedLocked())
            return false;
    }
    while (!IsStopping() && LinkClock::now() < deadline) {
        CLinkSocket candidate = SessionListener().Accept(std::min(MillisecondsUntil(deadline), STOP_CHECK_MS));
        std::uint8_t id[4];
        if (candidate.IsValid() && candidate.ReceiveExactly(id, sizeof(id), SESSION_ID_WAIT_MS)
            && (id[0] | (id[1] << 8) | (id[2] << 16) | (static_cast<std::uint32_t>(id[3]) << 24)) == nId) {
            session = std::move(candidate);
            return true;
        }
    }
    return false;
}

}   // namespace handheldlink

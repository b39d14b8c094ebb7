#include "platform/handheldlink/LegacyLink.h"

#include "platform/handheldwire/Password.h"

namespace handheldlink {
CLegacyLink::CLegacyLink(const LinkSettings& settings, IPasswordSource& passwords) : CControlLink(settings, passwords)
{
}

CLegacyLink::~CLegacyLink()
{
    Stop();
}

bool CLegacyLink::Start(int& nError)
{
    m_controlListener = CLinkSocket::Listen(m_settings.strPcAddress, m_settings.nControlPort, &nError);
    if (!m_controlListener.IsValid())
        return false;
    StartThread();
    return true;
}

CLinkSocket CLegacyLink::AwaitControl(std::uint32_t msWait)
{
    return m_controlListener.Accept(msWait);
}

// A locked device takes the password it accepted on the control
// connection again on every session, and answers with one byte.
bool CLegacyLink::ConnectSession(CLinkSocket& session, LinkClock::time_point deadline)
{
    std::vector<std::uint8_t> passwordStep;
    {
        std::lock_guard<std::mutex> lock(m_cs);
        const std::uint32_t dwChallenge = m_machine.Info().dwPasswordKey;
        if (dwChallenge != 0)
            passwordStep = handheldwire::EncodePassword(m_strPassword, static_cast<std::uint8_t>(dwChallenge));
    }
    session = CLinkSocket::Connect(m_settings.strDeviceAddress, m_settings.nSessionPort, MillisecondsUntil(deadline));
    if (!session.IsValid())
        return false;
    if (passwordStep.empty())
        return true;
    std::uint8_t nVerdict = 0;
    if (session.SendAll(passwordStep.data(), passwordStep.size(), MillisecondsUntil(deadline))
        && session.ReceiveExactly(&nVerdict, 1, MillisecondsUntil(deadline)) && nVerdict != 0)
        return true;
    session.Close();
    return false;
}

}   // namespace handheldlink

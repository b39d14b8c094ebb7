#include "platform/handheldlink/ControlLink.h"

#include "platform/handheldwire/LegacyControl.h"
#include "platform/handheldwire/UsbControl.h"

namespace handheldlink {
namespace {
// How often the thread looks up from a quiet socket to check its clocks.
constexpr std::uint32_t POLL_MS = 100;
constexpr std::size_t RECEIVE_BYTES = 4096;
}   // namespace

template <class Machine>
CControlLink<Machine>::CControlLink(const LinkSettings& settings, IPasswordSource& passwords)
    : m_settings(settings), m_passwords(passwords)
{
}

template <class Machine> void CControlLink<Machine>::StartThread()
{
    m_thread = std::thread([this] { Run(); });
}

template <class Machine> void CControlLink<Machine>::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_cs);
        m_bStop = true;
    }
    m_cvConnected.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

template <class Machine>
bool CControlLink<Machine>::OpenSession(CLinkSocket& session, handheldwire::RapiVersion& version,
                                        std::uint64_t& nGeneration)
{
    const LinkClock::time_point deadline = DeadlineAfter(m_settings.msSessionWait);
    std::lock_guard<std::mutex> oneAtATime(m_csSessions);
    SessionWanted();
    {
        std::unique_lock<std::mutex> lock(m_cs);
        if (!m_cvConnected.wait_until(lock, deadline, [this] { return m_bConnected || m_bStop; }) || m_bStop)
            return false;
        nGeneration = m_nGeneration;
        version = handheldwire::VersionForOs(m_machine.Info().nOsMajor, m_machine.Info().nOsMinor);
    }
    return ConnectSession(session, deadline) && IsAlive(nGeneration);
}

template <class Machine> void CControlLink<Machine>::SessionWanted()
{
    if (m_bGaveUp)
        m_bAskAgain = true;
}

template <class Machine> bool CControlLink<Machine>::IsAlive(std::uint64_t nGeneration) const
{
    std::lock_guard<std::mutex> lock(m_cs);
    return m_bConnected && m_nGeneration == nGeneration;
}

template <class Machine> bool CControlLink<Machine>::IsConnected() const
{
    std::lock_guard<std::mutex> lock(m_cs);
    return m_bConnected;
}

template <class Machine> void CControlLink<Machine>::AskToUnlock(bool bRetry)
{
    std::u16string strPassword;
    if (!m_passwords.NextPassword(bRetry, strPassword)) {
        m_bGaveUp = true;
        return;
    }
    std::lock_guard<std::mutex> lock(m_cs);
    m_strPassword = strPassword;
    m_machine.OfferPassword(strPassword);
    SendQueuedLocked();
}

template <class Machine> bool CControlLink<Machine>::SendQueuedLocked()
{
    const std::vector<std::uint8_t> bytes = m_machine.Take();
    return bytes.empty() || (m_pControl && m_pControl->SendAll(bytes.data(), bytes.size(), m_settings.msPingAnswer));
}

template <class Machine> void CControlLink<Machine>::Run()
{
    while (!m_bStop) {
        CLinkSocket control = AwaitControl(POLL_MS);
        if (control.IsValid())
            ServeControl(control);
    }
}

template <class Machine> void CControlLink<Machine>::ServeControl(CLinkSocket& control)
{
    {
        std::lock_guard<std::mutex> lock(m_cs);
        m_machine = Machine();
        m_pControl = &control;
    }
    m_bPingOut = false;
    m_bGaveUp = false;
    m_bAskAgain = false;
    std::uint8_t buffer[RECEIVE_BYTES];
    while (!m_bStop) {
        const long cb = control.ReceiveSome(buffer, sizeof(buffer), POLL_MS);
        if (cb < 0 || (cb > 0 && !Absorb(buffer, static_cast<std::size_t>(cb))) || !KeepAlive())
            break;
        AskAgainIfWanted();
    }
    MarkGone();
}

template <class Machine> void CControlLink<Machine>::AskAgainIfWanted()
{
    if (!m_bStop && m_bAskAgain.exchange(false) && m_bGaveUp.exchange(false))
        AskToUnlock(false);
}

template <class Machine> bool CControlLink<Machine>::Absorb(const std::uint8_t* p, std::size_t cb)
{
    std::vector<handheldwire::ControlEvent> events;
    {
        std::lock_guard<std::mutex> lock(m_cs);
        events = m_machine.Feed(p, cb);
        if (m_machine.IsBroken() || !SendQueuedLocked())
            return false;
    }
    for (const handheldwire::ControlEvent& event : events)
        HandleEvent(event);
    if (MarkConnected()) {
        // The notice goes before a session waiting for the unlock goes on.
        m_passwords.EndUnlockNotice();
        m_cvConnected.notify_all();
    }
    return true;
}

template <class Machine> bool CControlLink<Machine>::MarkConnected()
{
    std::lock_guard<std::mutex> lock(m_cs);
    if (!m_machine.IsConnected() || m_bConnected)
        return false;
    m_bConnected = true;
    m_nextPing = DeadlineAfter(m_settings.msPingInterval);
    return true;
}

template <class Machine> void CControlLink<Machine>::HandleEvent(const handheldwire::ControlEvent& event)
{
    using handheldwire::ControlEvent;
    if (event.kind == ControlEvent::PingAnswered)
        m_bPingOut = false;
    else if (event.kind == ControlEvent::PasswordVerdict && !event.bAccepted)
        AskToUnlock(true);
    else if (event.kind == ControlEvent::HandshakeDone && !IsMachineConnected())
        AskToUnlock(false);
}

template <class Machine> bool CControlLink<Machine>::IsMachineConnected() const
{
    std::lock_guard<std::mutex> lock(m_cs);
    return m_machine.IsConnected();
}

template <class Machine> bool CControlLink<Machine>::KeepAlive()
{
    const LinkClock::time_point now = LinkClock::now();
    if (m_bPingOut)
        return now < m_answerDue;
    std::lock_guard<std::mutex> lock(m_cs);
    if (!m_bConnected || now < m_nextPing)
        return true;
    m_machine.Ping();
    m_bPingOut = true;
    m_answerDue = now + std::chrono::milliseconds(m_settings.msPingAnswer);
    m_nextPing = now + std::chrono::milliseconds(m_settings.msPingInterval);
    return SendQueuedLocked();
}

template <class Machine> void CControlLink<Machine>::MarkGone()
{
    {
        std::lock_guard<std::mutex> lock(m_cs);
        m_pControl = nullptr;
        if (m_bConnected)
            ++m_nGeneration;
        m_bConnected = false;
    }
    m_passwords.EndUnlockNotice();
}

template class CControlLink<handheldwire::CUsbControlPc>;
template class CControlLink<handheldwire::CLegacyControlPc>;

}   // namespace handheldlink

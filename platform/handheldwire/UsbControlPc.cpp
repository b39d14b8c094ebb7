#include "platform/handheldwire/UsbControl.h"

#include "platform/handheldwire/ByteCodec.h"
#include "platform/handheldwire/Password.h"
#include "platform/handheldwire/UsbMessages.h"

namespace handheldwire {

void CUsbControlPc::OfferPassword(const std::u16string& strPassword)
{
    if (m_state != State::NeedPassword)
        return;
    const std::vector<std::uint8_t> bytes =
        EncodePassword(strPassword, static_cast<std::uint8_t>(m_info.dwPasswordKey));
    m_out.insert(m_out.end(), bytes.begin(), bytes.end());
    m_state = State::AwaitVerdict;
}

void CUsbControlPc::RequestUnlock()
{
    if (m_state != State::NeedUnlock)
        return;
    SendU32(USB_MSG_SHOW_UNLOCK);
    m_state = State::AwaitUnlock;
}

std::uint32_t CUsbControlPc::RequestSession()
{
    if (m_state != State::Connected)
        return 0;
    ++m_nLastSession;
    SendU32(USB_MSG_SESSION);
    SendU32(USB_SESSION_KIND);
    SendU32(m_nLastSession);
    return m_nLastSession;
}

void CUsbControlPc::Ping()
{
    if (m_state == State::Connected)
        SendU32(USB_MSG_PING);
}

bool CUsbControlPc::TakeMessage(std::vector<ControlEvent>& events)
{
    if (m_in.IsEmpty())
        return false;
    switch (m_state) {
    case State::Handshake:
        return TakeHandshake(events);
    case State::AwaitVerdict:
        return TakeVerdict(events);
    case State::AwaitUnlock:
        return TakeUnlockResult(events);
    case State::Connected:
        return TakePingAnswer(events);
    case State::NeedPassword:
    case State::NeedUnlock:
        // The device has nothing to say until the PC acts.
        m_state = State::Broken;
        break;
    case State::Broken:
        break;
    }
    return false;
}

// Requests 0 and 6 in any order, each answered; then 4 and the info.
bool CUsbControlPc::TakeHandshake(std::vector<ControlEvent>& events)
{
    if (!m_in.Has(4))
        return false;
    switch (m_in.U32At(0)) {
    case USB_MSG_INITIAL:
        m_in.Drop(4);
        SendU32(USB_ANSWER_INITIAL);
        return true;
    case USB_MSG_OPTIONS:
        m_in.Drop(4);
        for (std::uint32_t n : USB_ANSWER_OPTIONS)
            SendU32(n);
        return true;
    case USB_MSG_INFO:
        return TakeInfo(events);
    default:
        m_state = State::Broken;
        return false;
    }
}

bool CUsbControlPc::TakeInfo(std::vector<ControlEvent>& events)
{
    if (!m_in.Has(8))
        return false;
    const std::uint32_t cb = m_in.U32At(4);
    if (cb > MAX_USB_INFO_BYTES) {
        m_state = State::Broken;
        return false;
    }
    if (!m_in.Has(8 + std::size_t{ cb }))
        return false;
    if (!DecodeUsbInfo(m_in.Front() + 8, cb, m_info)) {
        m_state = State::Broken;
        return false;
    }
    m_in.Drop(8 + std::size_t{ cb });
    events.push_back({ ControlEvent::HandshakeDone });
    m_state = StateForKey();
    return true;
}

bool CUsbControlPc::TakeVerdict(std::vector<ControlEvent>& events)
{
    if (!m_in.Has(2))
        return false;
    ControlEvent event{ ControlEvent::PasswordVerdict };
    event.bAccepted = m_in.U16At(0) != 0;
    m_in.Drop(2);
    events.push_back(event);
    m_state = event.bAccepted ? State::Connected : State::NeedPassword;
    return true;
}

bool CUsbControlPc::TakeUnlockResult(std::vector<ControlEvent>& events)
{
    if (!m_in.Has(4))
        return false;
    const std::uint32_t nResult = m_in.U32At(0);
    m_in.Drop(4);
    if (nResult != 0) {
        // What a non-zero result means is not known: the device stays locked.
        events.push_back({ ControlEvent::PasswordVerdict });
        m_state = State::NeedUnlock;
        return true;
    }
    for (std::uint32_t n : USB_UNLOCK_TAIL)
        SendU32(n);
    events.push_back({ ControlEvent::Unlocked });
    m_state = State::Connected;
    return true;
}

bool CUsbControlPc::TakePingAnswer(std::vector<ControlEvent>& events)
{
    if (!m_in.Has(4))
        return false;
    if (m_in.U32At(0) != USB_ANSWER_PING) {
        m_state = State::Broken;
        return false;
    }
    m_in.Drop(4);
    events.push_back({ ControlEvent::PingAnswered });
    return true;
}

CUsbControlPc::State CUsbControlPc::StateForKey() const
{
    if (m_info.dwPasswordKey == PASSWORD_NONE)
        return State::Connected;
    return m_info.dwPasswordKey == PASSWORD_ON_DEVICE ? State::NeedUnlock : State::NeedPassword;
}

void CUsbControlPc::SendU32(std::uint32_t n)
{
    AppendU32(m_out, n);
}

}   // namespace handheldwire
